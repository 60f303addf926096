// Files, locks, the clock and the process number on Linux.
//
// The game names its files the Windows way, relative to its folder
// (".\src\Highscore.txt"). This file turns them into paths of this system:
// the seam's operations here do it themselves, and the table's own reads and
// writes (std::fopen and std::remove in the portable code) reach it through
// the linker, which sends the program's calls of fopen and remove to the
// wrappers below (-Wl,--wrap, set for the Linux program only).
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "shell/sdl_window.h"

struct PlatformLock {
    int file;
    std::string path;
};

namespace {

// The folder the program lies in, with a trailing '/'; empty when the system
// cannot say, and the working folder serves.
const std::string& ProgramFolder() {
    static const std::string folder = [] {
        char buffer[4096];
        ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        if (length <= 0)
            return std::string();
        std::string path(buffer, static_cast<std::size_t>(length));
        std::size_t slash = path.rfind('/');
        return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    }();
    return folder;
}

bool Exists(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

// The entry of folder whose name matches name without regard to case; name
// itself when there is none.
std::string MatchInFolder(const std::string& folder, const std::string& name) {
    DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
    if (directory == nullptr)
        return name;
    std::string found = name;
    while (const dirent* entry = readdir(directory)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    closedir(directory);
    return found;
}

}  // namespace

std::string LinuxPath(const char* path) {
    std::string given(path);
    if (!given.empty() && given[0] == '/')
        return given;
    for (char& c : given) {
        if (c == '\\')
            c = '/';
    }
    std::string result = ProgramFolder();
    std::size_t start = 0;
    while (start <= given.size()) {
        std::size_t end = given.find('/', start);
        if (end == std::string::npos)
            end = given.size();
        std::string name = given.substr(start, end - start);
        start = end + 1;
        if (name.empty() || name == ".")
            continue;
        if (name != ".." && !Exists(result + name))
            name = MatchInFolder(result, name);
        result += name;
        if (end < given.size())
            result += '/';
    }
    return result;
}

// The names are the linker's: --wrap=fopen sends the program's calls of fopen
// to __wrap_fopen and names the C library's own __real_fopen.
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
extern "C" {
std::FILE* __real_fopen(const char* path, const char* mode);
int __real_remove(const char* path);

std::FILE* __wrap_fopen(const char* path, const char* mode) {
    return __real_fopen(LinuxPath(path).c_str(), mode);
}

int __wrap_remove(const char* path) { return __real_remove(LinuxPath(path).c_str()); }
}
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)

bool PutFileInPlace(const char* from, const char* to) {
    const std::string source = LinuxPath(from);
    const std::string target = LinuxPath(to);
    // A table the player has made read-only is never replaced, as on Windows
    // (rename itself would replace it).
    struct stat status {};
    if (stat(target.c_str(), &status) == 0 && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return false;
    if (std::rename(source.c_str(), target.c_str()) != 0)
        return false;
    // The new name itself reaches the disk with its folder.
    std::size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    int directory = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory >= 0) {
        (void)fsync(directory);  // the replace has happened either way
        (void)close(directory);
    }
    return true;
}

bool FlushFileToDisk(const char* path) {
    int file = open(LinuxPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    bool flushed = fsync(file) == 0;
    if (close(file) != 0)
        flushed = false;
    return flushed;
}

FileLock TryLockFile(const char* path) {
    std::string name = LinuxPath(path);
    int file = open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0)
        return nullptr;
    // The lock file goes when its holder is done, as on Windows. A program
    // that opened it just before may then hold a lock on a file that no longer
    // has the name, so a lock counts only while the name still leads to the
    // locked file.
    struct stat locked {};
    struct stat named {};
    if (flock(file, LOCK_EX | LOCK_NB) != 0 || fstat(file, &locked) != 0 ||
        stat(name.c_str(), &named) != 0 || locked.st_ino != named.st_ino ||
        locked.st_dev != named.st_dev) {
        (void)close(file);
        return nullptr;
    }
    return new PlatformLock{file, name};
}

void ReleaseFileLock(FileLock lock) {
    if (lock == nullptr)
        return;
    (void)unlink(lock->path.c_str());  // still locked: nobody else holds it
    (void)close(lock->file);
    delete lock;
}

namespace {

std::uint32_t Little(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

// Where an uncompressed 24- or 32-bit picture file keeps its rows.
struct BitmapLayout {
    int width;
    int height;
    bool downwards;  // the first row is the top one
    std::uint32_t bits;
    std::uint32_t pixelsAt;
    std::uint64_t rowBytes;
};

// Reads the layout from the file's header; false for any other kind of file
// and for one shorter than its rows.
bool ReadBitmapLayout(int descriptor, BitmapLayout* layout) {
    // The file header (14 bytes) and the start of an info header of at
    // least 40 bytes.
    constexpr int HeaderBytes = 14 + 40;
    constexpr std::uint32_t Uncompressed = 0;
    constexpr std::int32_t Largest = 32767;
    unsigned char header[HeaderBytes];
    struct stat status {};
    if (fstat(descriptor, &status) != 0 ||
        pread(descriptor, header, HeaderBytes, 0) != HeaderBytes || header[0] != 'B' ||
        header[1] != 'M')
        return false;
    const std::uint32_t pixelsAt = Little(header + 10, 4);
    const std::uint32_t infoBytes = Little(header + 14, 4);
    const auto width = static_cast<std::int32_t>(Little(header + 18, 4));
    const auto height = static_cast<std::int32_t>(Little(header + 22, 4));
    const std::uint32_t bits = Little(header + 28, 2);
    if (infoBytes < 40 || (bits != 24 && bits != 32) || Little(header + 30, 4) != Uncompressed ||
        width <= 0 || width > Largest || height == 0 || height < -Largest || height > Largest)
        return false;
    // Every row is there: SDL reads them all and refuses a short file.
    const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    if (pixelsAt < 14 + infoBytes ||
        static_cast<std::uint64_t>(status.st_size) < pixelsAt + rowBytes * rows)
        return false;
    *layout = {width, static_cast<int>(rows), height < 0, bits, pixelsAt, rowBytes};
    return true;
}

// Writes count pixels of a file's row (blue, green, red) into a 32-bit row
// from column left on.
void PutRow(const unsigned char* bytes, Uint8* line, int left, int count, Uint32 opaque) {
    auto* pixels = reinterpret_cast<Uint32*>(line) + left;
    for (int i = 0; i < count; ++i, bytes += 3)
        pixels[i] = opaque | static_cast<Uint32>(bytes[2]) << 16 |
                    static_cast<Uint32>(bytes[1]) << 8 | bytes[0];
}

}  // namespace

bool ReadBitmapHeaderSize(const std::string& file, PictureSize* size) {
    int descriptor = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    BitmapLayout layout{};
    const bool known = ReadBitmapLayout(descriptor, &layout);
    (void)close(descriptor);
    if (known)
        *size = {layout.width, layout.height};
    return known;
}

CopiedRows CopyBitmapRows(const std::string& file, SDL_Surface* target, int x, int y, int copyWidth,
                          int copyHeight, int wantWidth, int wantHeight, SDL_Rect* written) {
    *written = {x, y, 0, 0};
    const Uint32 format = target->format->format;
    if ((format != SDL_PIXELFORMAT_XRGB8888 && format != SDL_PIXELFORMAT_ARGB8888) ||
        SDL_MUSTLOCK(target))
        return CopiedRows::NotThisWay;
    int descriptor = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return CopiedRows::NotThisWay;
    BitmapLayout layout{};
    // A 32-bit file may carry transparency, which SDL's own copy blends.
    if (!ReadBitmapLayout(descriptor, &layout) || layout.bits != 24 ||
        (wantWidth > 0 && wantWidth != layout.width) ||
        (wantHeight > 0 && wantHeight != layout.height)) {
        (void)close(descriptor);
        return CopiedRows::NotThisWay;
    }
    // The part of the picture that lands within the target's clip.
    SDL_Rect clip{};
    SDL_GetClipRect(target, &clip);
    const int width = copyWidth < layout.width ? copyWidth : layout.width;
    const int height = copyHeight < layout.height ? copyHeight : layout.height;
    const int left = x > clip.x ? x : clip.x;
    const int right = x + width < clip.x + clip.w ? x + width : clip.x + clip.w;
    const int top = y > clip.y ? y : clip.y;
    const int bottom = y + height < clip.y + clip.h ? y + height : clip.y + clip.h;
    if (right > left && bottom > top)
        *written = {left, top, right - left, bottom - top};
    const Uint32 opaque = format == SDL_PIXELFORMAT_ARGB8888 ? 0xFF000000U : 0;
    bool whole = true;
    std::string row(static_cast<std::size_t>(layout.rowBytes), '\0');
    for (int line = top; line < bottom && right > left && whole; ++line) {
        const int fromTop = line - y;
        const int inFile = layout.downwards ? fromTop : layout.height - 1 - fromTop;
        const auto at = static_cast<off_t>(layout.pixelsAt +
                                           layout.rowBytes * static_cast<std::uint64_t>(inFile));
        whole = pread(descriptor, row.data(), row.size(), at) == static_cast<ssize_t>(row.size());
        if (whole)
            PutRow(
                reinterpret_cast<const unsigned char*>(row.data()) +
                    static_cast<std::ptrdiff_t>(3) * (left - x),
                static_cast<Uint8*>(target->pixels) +
                    static_cast<std::ptrdiff_t>(line) * static_cast<std::ptrdiff_t>(target->pitch),
                left, right - left, opaque);
    }
    (void)close(descriptor);
    return whole ? CopiedRows::Copied : CopiedRows::Failed;
}

std::uint32_t ProcessNumber() { return static_cast<std::uint32_t>(getpid()); }

std::uint32_t ClockSeconds() { return static_cast<std::uint32_t>(std::time(nullptr)); }
