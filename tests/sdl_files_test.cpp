// The Linux program's files: the game's Windows paths read beside the
// program, names matched without regard to case, the table's lock, and the
// table's own std::fopen reaching the same files through the linker.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

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

// A picture file of width x height with bits per pixel, its bytes a pattern.
std::vector<unsigned char> Bitmap(int width, int height, int bits) {
    const int rows = height < 0 ? -height : height;
    const int rowBytes = (width * bits + 31) / 32 * 4;
    std::vector<unsigned char> file(54 + static_cast<std::size_t>(rowBytes * rows), 0);
    for (std::size_t i = 54; i < file.size(); ++i)
        file[i] = static_cast<unsigned char>(i * 37 % 251);
    auto put = [&file](std::size_t at, std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i)
            file[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(value >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, static_cast<std::uint32_t>(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(width), 4);
    put(22, static_cast<std::uint32_t>(height), 4);
    put(26, 1, 2);
    put(28, static_cast<std::uint32_t>(bits), 2);
    return file;
}

struct HeaderCase {
    const char* what;
    std::vector<unsigned char> file;
    bool fromHeader;  // the header alone gives the size
};

// The target's pixels after the picture file is copied to (x, y), cut to
// 4 x 3, by CopyBitmapRows or else by SDL's reading and copying; last the
// part of the target the copy covered (x, y, width, height; zeros if none).
std::vector<Uint32> CopiedTo(const std::string& path, int x, int y, bool bySdl) {
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 6, 5, 32, SDL_PIXELFORMAT_XRGB8888);
    SDL_FillRect(target, nullptr, 0x123456);
    SDL_Rect covered = {x, y, 4, 3};
    if (bySdl) {
        SDL_Surface* picture = SDL_LoadBMP(path.c_str());
        SDL_Rect from = {0, 0, 4, 3};
        SDL_BlitSurface(picture, &from, target, &covered);
        SDL_FreeSurface(picture);
    } else {
        EXPECT_EQ(CopyBitmapRows(path, target, x, y, 4, 3, 0, 0, &covered), CopiedRows::Copied);
    }
    std::vector<Uint32> pixels;
    for (int row = 0; row < target->h; ++row) {
        const auto* line =
            reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(target->pixels) +
                                            static_cast<std::ptrdiff_t>(row) * target->pitch);
        for (int column = 0; column < target->w; ++column)
            pixels.push_back(line[column] & 0xFFFFFF);
    }
    SDL_FreeSurface(target);
    if (covered.w <= 0 || covered.h <= 0)
        covered = {0, 0, 0, 0};  // where an empty part lies says nothing
    for (const int value : {covered.x, covered.y, covered.w, covered.h})
        pixels.push_back(static_cast<Uint32>(value));
    return pixels;
}

TEST(LinuxFiles, APicturesSizeFromItsHeaderIsTheSizeSdlReads) {
    std::vector<unsigned char> shortFile = Bitmap(3, 2, 24);
    shortFile.pop_back();
    std::vector<unsigned char> badMark = Bitmap(3, 2, 24);
    badMark[1] = 'A';
    std::vector<unsigned char> packed = Bitmap(4, 2, 8);
    packed[30] = 1;  // run-length packed
    std::vector<unsigned char> pixelsBeyond = Bitmap(3, 2, 24);
    pixelsBeyond[10] = 60;
    const HeaderCase cases[] = {
        {"24 bits, rows upwards", Bitmap(3, 2, 24), true},
        {"24 bits, rows downwards", Bitmap(5, -3, 24), true},
        {"32 bits", Bitmap(2, 2, 32), true},
        {"a row short by a byte", shortFile, false},
        {"not a picture file", badMark, false},
        {"8 bits, packed", packed, false},
        {"no width", Bitmap(0, 2, 24), false},
        {"rows begin beyond the header's promise", pixelsBeyond, false},
    };
    const std::string path = Beside("src/header_test.bmp");
    for (const HeaderCase& c : cases) {
        std::FILE* out = std::fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        ASSERT_EQ(std::fwrite(c.file.data(), 1, c.file.size(), out), c.file.size());
        ASSERT_EQ(std::fclose(out), 0);
        PictureSize size{0, 0};
        ASSERT_EQ(ReadBitmapHeaderSize(path, &size), c.fromHeader) << c.what;
        SDL_Surface* whole = SDL_LoadBMP(path.c_str());
        if (c.fromHeader) {
            // Never a size for a file SDL refuses, never another size.
            ASSERT_NE(whole, nullptr) << c.what;
            EXPECT_EQ(size.width, whole->w) << c.what;
            EXPECT_EQ(size.height, whole->h) << c.what;
        }
        // Copied from the file straight, the same pixels as through SDL,
        // within the target and cut at its edges.
        if (c.fromHeader && whole->format->BitsPerPixel == 24) {
            for (const SDL_Point at : {SDL_Point{1, 1}, SDL_Point{-1, 3}, SDL_Point{4, -2}})
                EXPECT_EQ(CopiedTo(path, at.x, at.y, false), CopiedTo(path, at.x, at.y, true))
                    << c.what << " at " << at.x << "," << at.y;
        }
        SDL_FreeSurface(whole);
    }
    (void)std::remove(path.c_str());
}

}  // namespace
