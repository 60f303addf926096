# The page: the portable core plus the web_ files, built with emscripten into
# a static site in the build folder (index.html, its style sheet, rillo.js,
# rillo.wasm and rillo.data with the pictures, sounds and first table, and
# what makes it an installable game that plays offline).
set(RILLO_WEB_SOURCES "")
foreach(dir IN LISTS RILLO_SUBSYSTEMS)
  file(GLOB dir_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/web_*.cpp")
  list(APPEND RILLO_WEB_SOURCES ${dir_sources})
endforeach()
add_executable(rillo ${RILLO_WEB_SOURCES})
target_link_libraries(rillo PRIVATE rillo_core)
set_target_properties(rillo PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The page's half of the platform layer, in three parts.
set(RILLO_WEB_LIBRARIES ${CMAKE_CURRENT_SOURCE_DIR}/web/rillo_library.js
                        ${CMAKE_CURRENT_SOURCE_DIR}/web/rillo_boxes.js
                        ${CMAKE_CURRENT_SOURCE_DIR}/web/rillo_access.js)
# Only these page calls may pause the game's loop; every other call into the
# page returns at once.
set(RILLO_WEB_WAITING_CALLS
    rillo_next_event rillo_show_box rillo_ask_name rillo_play_to_end
    rillo_load_saved rillo_save_saved rillo_take_lock)
list(JOIN RILLO_WEB_WAITING_CALLS "," RILLO_WEB_WAITING_LIST)
target_link_options(rillo PRIVATE
  -sASYNCIFY
  "-sASYNCIFY_IMPORTS=[${RILLO_WEB_WAITING_LIST}]"
  -sENVIRONMENT=web
  -sEXIT_RUNTIME=0
  -sFORCE_FILESYSTEM
  -lidbfs.js
  "SHELL:--js-library ${CMAKE_CURRENT_SOURCE_DIR}/web/rillo_library.js"
  "SHELL:--js-library ${CMAKE_CURRENT_SOURCE_DIR}/web/rillo_boxes.js"
  "SHELL:--js-library ${CMAKE_CURRENT_SOURCE_DIR}/web/rillo_access.js")
set_property(TARGET rillo APPEND PROPERTY LINK_DEPENDS ${RILLO_WEB_LIBRARIES})
# tools/web_app.py packs data/src into rillo.data after each link.
file(GLOB RILLO_WEB_DATA CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/data/src/*")
set_property(TARGET rillo APPEND PROPERTY LINK_DEPENDS ${RILLO_WEB_DATA})

# The page itself beside the script: its style sheet as it is; index.html
# with the game's texts, colours and the loader's file sizes filled in, the
# data packed, the icons, the manifest and the service worker, all by
# tools/web_app.py (which reads game/texts.h through tools/web_texts.py).
set(RILLO_WEB_PAGE index.html rillo.css manifest.webmanifest icon-192.png icon-512.png
    icon-maskable-512.png sw.js)
add_custom_command(TARGET rillo POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/web/rillo.css
          ${CMAKE_BINARY_DIR}/rillo.css
  COMMAND python3 ${CMAKE_CURRENT_SOURCE_DIR}/tools/web_app.py ${CMAKE_CURRENT_SOURCE_DIR}
          ${CMAKE_BINARY_DIR} ${PROJECT_VERSION}
  VERBATIM)
set_property(TARGET rillo APPEND PROPERTY LINK_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/web/index.html ${CMAKE_CURRENT_SOURCE_DIR}/web/rillo.css
  ${CMAKE_CURRENT_SOURCE_DIR}/web/sw.js ${CMAKE_CURRENT_SOURCE_DIR}/game/texts.h
  ${CMAKE_CURRENT_SOURCE_DIR}/tools/web_texts.py ${CMAKE_CURRENT_SOURCE_DIR}/tools/web_app.py)

# The release zip: rillo-<version>-web.zip holds a folder of the same name with
# exactly the site's files, ready for any static web server.
set(RILLO_WEB_SITE ${RILLO_WEB_PAGE} rillo.js rillo.wasm rillo.data)
set(RILLO_WEB_NAME rillo-${PROJECT_VERSION}-web)
set(RILLO_WEB_STAGE ${CMAKE_BINARY_DIR}/package/stage)
set(RILLO_WEB_COPIES "")
foreach(file IN LISTS RILLO_WEB_SITE)
  list(APPEND RILLO_WEB_COPIES COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/${file}
       ${RILLO_WEB_STAGE}/${RILLO_WEB_NAME}/${file})
endforeach()
add_custom_target(web_package
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${RILLO_WEB_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${RILLO_WEB_STAGE}/${RILLO_WEB_NAME}
  ${RILLO_WEB_COPIES}
  COMMAND ${CMAKE_COMMAND} -E chdir ${RILLO_WEB_STAGE}
          ${CMAKE_COMMAND} -E tar cf ../${RILLO_WEB_NAME}.zip --format=zip ${RILLO_WEB_NAME}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${RILLO_WEB_STAGE}
  DEPENDS rillo
  COMMENT "Packing ${RILLO_WEB_NAME}.zip"
  VERBATIM)
