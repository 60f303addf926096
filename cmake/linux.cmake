# The native Linux program: the portable core plus the sdl_ files, over SDL2
# and SDL2_ttf from the system, drawing into a software window surface.
# Makes build/linux/rillo with its data in build/linux/src/, its icon and
# desktop file, and the package rillo-<version>-linux-x86_64.tar.gz in
# build/linux/package/.
find_package(SDL2 CONFIG REQUIRED)
find_package(SDL2_ttf CONFIG REQUIRED)

set(RILLO_SDL_SOURCES "")
foreach(dir IN LISTS RILLO_SUBSYSTEMS)
  file(GLOB dir_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${dir}/sdl_*.cpp")
  list(APPEND RILLO_SDL_SOURCES ${dir_sources})
endforeach()
add_executable(rillo ${RILLO_SDL_SOURCES})
# SDL_ttf's header only: shell/sdl_fonts.cpp opens the library at the first text.
target_link_libraries(rillo PRIVATE rillo_core SDL2::SDL2)
target_include_directories(rillo PRIVATE
                           $<TARGET_PROPERTY:SDL2_ttf::SDL2_ttf,INTERFACE_INCLUDE_DIRECTORIES>)
# The table's own reads and writes name their files the Windows way; the
# program's fopen and remove go through shell/sdl_files.cpp, which turns the
# names into this system's paths.
target_link_options(rillo PRIVATE -Wl,--wrap=fopen -Wl,--wrap=remove
                    $<$<CONFIG:Release>:-s>)
set_target_properties(rillo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The Liberation fonts stand in for the Windows faces; the folder found here
# is tried first at run time, the usual folders after it.
find_file(RILLO_LIBERATION_SANS LiberationSans-Regular.ttf
          PATHS /usr/share/fonts/truetype/liberation /usr/share/fonts/truetype/liberation2
                /usr/share/fonts/liberation /usr/share/fonts/liberation-sans
          NO_DEFAULT_PATH)
set(RILLO_FONT_FOLDER "")
if(RILLO_LIBERATION_SANS)
  get_filename_component(RILLO_FONT_FOLDER ${RILLO_LIBERATION_SANS} DIRECTORY)
  string(APPEND RILLO_FONT_FOLDER "/")
else()
  message(WARNING "The Liberation fonts (fonts-liberation) are missing: Rillo shows no text")
endif()
set_source_files_properties(${PROJECT_SOURCE_DIR}/shell/sdl_text.cpp PROPERTIES
                            COMPILE_DEFINITIONS "RILLO_FONT_FOLDER=\"${RILLO_FONT_FOLDER}\"")

add_custom_command(TARGET rillo POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/data/src
          ${CMAKE_BINARY_DIR}/src)

# The icon: the first disc of the intro picture's row of six, the game's own
# art, made by a small tool of the build.
add_executable(rillo_make_icon tools/make_icon.cpp)
set(RILLO_ICON ${CMAKE_BINARY_DIR}/rillo.png)
add_custom_command(OUTPUT ${RILLO_ICON}
  COMMAND rillo_make_icon ${PROJECT_SOURCE_DIR}/data/src/intro.bmp ${RILLO_ICON}
          186 380 80 64
  DEPENDS rillo_make_icon ${PROJECT_SOURCE_DIR}/data/src/intro.bmp
  VERBATIM)
configure_file(${PROJECT_SOURCE_DIR}/shell/sdl_rillo.desktop.in ${CMAKE_BINARY_DIR}/rillo.desktop
               @ONLY)
add_custom_target(rillo_icon ALL DEPENDS ${RILLO_ICON})

install(TARGETS rillo RUNTIME DESTINATION .)
install(DIRECTORY data/src/ DESTINATION src)
install(FILES ${CMAKE_BINARY_DIR}/rillo.desktop ${RILLO_ICON} DESTINATION .)
set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME rillo)
set(CPACK_PACKAGE_FILE_NAME rillo-${PROJECT_VERSION}-linux-x86_64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)

# The Linux files' own tests, where GoogleTest is installed (test.sh runs them).
find_package(GTest)
if(GTest_FOUND)
  add_executable(rillo_linux_test tests/sdl_files_test.cpp shell/sdl_files.cpp)
  target_include_directories(rillo_linux_test PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(rillo_linux_test PRIVATE GTest::gtest_main SDL2::SDL2)
  target_link_options(rillo_linux_test PRIVATE -Wl,--wrap=fopen -Wl,--wrap=remove)
  set_target_properties(rillo_linux_test PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  add_dependencies(rillo_linux_test rillo)
endif()
