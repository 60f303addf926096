// The Linux program's files: the game's Windows paths read beside the
// program, names matched without regard to case, the table's lock, and the
// table's own std::fopen reaching the same files through the linker.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "shell/sdl_window.h"

namespace {

std::string Beside(const char* name) {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string path(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
    return path.substr(0, path.rfind('/') + 1) + name;
}

struct PathCase {
    const char* game;
    std::string expected;
};

TEST(LinuxFiles, GamePathsLieBesideTheProgram) {
    // The build puts the data beside the program as src/, with voll.wav only.
    const PathCase cases[] = {
        {".\\src\\intro.bmp", Beside("src/intro.bmp")},
        {".\\src\\Voll.wav", Beside("src/voll.wav")},
        {".\\src\\Highscore.txt.7.tmp", Beside("src/Highscore.txt.7.tmp")},
        {".\\SRC\\INTRO.BMP", Beside("src/intro.bmp")},
        {"/tmp/a\\b", "/tmp/a\\b"},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(LinuxPath(c.game), c.expected) << c.game;
}

TEST(LinuxFiles, TheTablesReadsGoThroughTheSamePaths) {
    std::FILE* table = std::fopen(".\\src\\Highscore.txt", "r");
    ASSERT_NE(table, nullptr);
    (void)std::fclose(table);
}

TEST(LinuxFiles, OneHolderOfTheLockAtATime) {
    const char* path = ".\\src\\Highscore.txt.testlock";
    FileLock first = TryLockFile(path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(TryLockFile(path), nullptr);  // another open file of this process counts too
    ReleaseFileLock(first);
    EXPECT_EQ(access(LinuxPath(path).c_str(), F_OK), -1);  // the holder removed it
    FileLock again = TryLockFile(path);
    EXPECT_NE(again, nullptr);
    ReleaseFileLock(again);
}

}  // namespace
