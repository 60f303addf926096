// Makes the Linux program's icon from the game's art: a square of a 24-bit
// picture file, averaged down to an icon of size by size pixels and written
// as a PNG (stored, uncompressed blocks: the icon is small).
//
//   make_icon PICTURE.bmp ICON.png LEFT TOP SIDE SIZE
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::uint32_t Little(const std::vector<unsigned char>& bytes, std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes.at(at + static_cast<std::size_t>(i));
    return value;
}

std::uint32_t Crc(const unsigned char* data, std::size_t length, std::uint32_t crc = 0xFFFFFFFFU) {
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320U & (0U - (crc & 1U)));
    }
    return crc;
}

void PutBig(std::vector<unsigned char>* out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back(static_cast<unsigned char>(value >> shift));
}

void Chunk(std::vector<unsigned char>* png, const char* type,
           const std::vector<unsigned char>& data) {
    PutBig(png, static_cast<std::uint32_t>(data.size()));
    std::vector<unsigned char> body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    png->insert(png->end(), body.begin(), body.end());
    PutBig(png, Crc(body.data(), body.size()) ^ 0xFFFFFFFFU);
}

// A zlib stream of stored blocks.
std::vector<unsigned char> Stored(const std::vector<unsigned char>& raw) {
    std::vector<unsigned char> out = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t count = raw.size() - at < 65535 ? raw.size() - at : 65535;
        out.push_back(at + count == raw.size() ? 1 : 0);
        out.push_back(static_cast<unsigned char>(count & 0xFF));
        out.push_back(static_cast<unsigned char>(count >> 8));
        out.push_back(static_cast<unsigned char>(~count & 0xFF));
        out.push_back(static_cast<unsigned char>((~count >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + count));
        at += count;
    } while (at < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBig(&out, (b << 16) | a);
    return out;
}

// A whole decimal number, or -1.
int Number(const char* text) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 0 && value < 100000 ? static_cast<int>(value)
                                                                       : -1;
}

// An uncompressed 24-bit picture file, its rows as they are stored.
struct Picture {
    std::vector<unsigned char> bytes;
    std::size_t offset = 0;
    std::size_t stride = 0;
    int width = 0;
    int rows = 0;
    bool bottomUp = true;
};

// Red, green or blue (channel 0, 1, 2) of the pixel at (x, y).
unsigned char PixelAt(const Picture& picture, int x, int y, int channel) {
    const int row = picture.bottomUp ? picture.rows - 1 - y : y;
    return picture.bytes[picture.offset + picture.stride * static_cast<std::size_t>(row) +
                         static_cast<std::size_t>(x) * 3 + 2 - static_cast<std::size_t>(channel)];
}

bool ReadPicture(const char* path, Picture* picture) {
    std::ifstream file(path, std::ios::binary);
    picture->bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    const std::vector<unsigned char>& bmp = picture->bytes;
    if (bmp.size() < 54 || bmp[0] != 'B' || bmp[1] != 'M' || Little(bmp, 28, 2) != 24 ||
        Little(bmp, 30, 4) != 0)
        return false;
    picture->offset = Little(bmp, 10, 4);
    picture->width = static_cast<int>(Little(bmp, 18, 4));
    const auto height = static_cast<std::int32_t>(Little(bmp, 22, 4));
    picture->bottomUp = height > 0;
    picture->rows = height > 0 ? height : -height;
    picture->stride = (static_cast<std::size_t>(picture->width) * 3 + 3) & ~std::size_t{3};
    return picture->offset + picture->stride * static_cast<std::size_t>(picture->rows) <=
           bmp.size();
}

// The icon's rows for the PNG, each after its filter byte (none): every
// icon pixel the mean of its share of the square.
std::vector<unsigned char> Averaged(const Picture& picture, int left, int top, int side, int size) {
    std::vector<unsigned char> raw;
    for (int y = 0; y < size; ++y) {
        raw.push_back(0);
        const int y0 = top + y * side / size;
        const int y1 = top + (y + 1) * side / size;
        for (int x = 0; x < size; ++x) {
            const int x0 = left + x * side / size;
            const int x1 = left + (x + 1) * side / size;
            const long count = static_cast<long>(x1 - x0) * (y1 - y0);
            for (int channel = 0; channel < 3; ++channel) {
                long sum = 0;
                for (int py = y0; py < y1; ++py) {
                    for (int px = x0; px < x1; ++px)
                        sum += PixelAt(picture, px, py, channel);
                }
                raw.push_back(static_cast<unsigned char>(sum / count));
            }
        }
    }
    return raw;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::cerr << "usage: make_icon PICTURE.bmp ICON.png LEFT TOP SIDE SIZE\n";
        return 2;
    }
    const int left = Number(argv[3]);
    const int top = Number(argv[4]);
    const int side = Number(argv[5]);
    const int size = Number(argv[6]);
    Picture picture;
    if (!ReadPicture(argv[1], &picture)) {
        std::cerr << "make_icon: " << argv[1] << " is not an uncompressed 24-bit picture\n";
        return 1;
    }
    if (left < 0 || top < 0 || size <= 0 || side < size || left + side > picture.width ||
        top + side > picture.rows) {
        std::cerr << "make_icon: the square lies outside " << argv[1] << "\n";
        return 1;
    }
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBig(&header, static_cast<std::uint32_t>(size));
    PutBig(&header, static_cast<std::uint32_t>(size));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    Chunk(&png, "IHDR", header);
    Chunk(&png, "IDAT", Stored(Averaged(picture, left, top, side, size)));
    Chunk(&png, "IEND", {});
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return out ? 0 : 1;
}
