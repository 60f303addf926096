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

void Chunk(std::vector<unsigned char>* png, const char* type, const std::vector<unsigned char>& data) {
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::cerr << "usage: make_icon PICTURE.bmp ICON.png LEFT TOP SIDE SIZE\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::vector<unsigned char> bmp((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
    const int left = std::atoi(argv[3]);
    const int top = std::atoi(argv[4]);
    const int side = std::atoi(argv[5]);
    const int size = std::atoi(argv[6]);
    if (bmp.size() < 54 || bmp[0] != 'B' || bmp[1] != 'M' || Little(bmp, 28, 2) != 24 ||
        Little(bmp, 30, 4) != 0 || size <= 0 || side < size) {
        std::cerr << "make_icon: " << argv[1] << " is not an uncompressed 24-bit picture\n";
        return 1;
    }
    const std::size_t offset = Little(bmp, 10, 4);
    const int width = static_cast<int>(Little(bmp, 18, 4));
    const int height = static_cast<int>(static_cast<std::int32_t>(Little(bmp, 22, 4)));
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    const bool bottomUp = height > 0;
    const int rows = bottomUp ? height : -height;
    if (left < 0 || top < 0 || left + side > width || top + side > rows ||
        offset + stride * static_cast<std::size_t>(rows) > bmp.size()) {
        std::cerr << "make_icon: the square lies outside " << argv[1] << "\n";
        return 1;
    }
    // Each icon pixel is the mean of its share of the square.
    std::vector<unsigned char> raw;
    for (int y = 0; y < size; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < size; ++x) {
            const int x0 = left + x * side / size;
            const int x1 = left + (x + 1) * side / size;
            const int y0 = top + y * side / size;
            const int y1 = top + (y + 1) * side / size;
            long sum[3] = {0, 0, 0};
            for (int py = y0; py < y1; ++py) {
                const int row = bottomUp ? rows - 1 - py : py;
                for (int px = x0; px < x1; ++px) {
                    const std::size_t at = offset + stride * static_cast<std::size_t>(row) +
                                           static_cast<std::size_t>(px) * 3;
                    for (int c = 0; c < 3; ++c)
                        sum[c] += bmp[at + 2 - static_cast<std::size_t>(c)];  // BGR to RGB
                }
            }
            const long count = static_cast<long>(x1 - x0) * (y1 - y0);
            for (long channel : sum)
                raw.push_back(static_cast<unsigned char>(channel / count));
        }
    }
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutBig(&header, static_cast<std::uint32_t>(size));
    PutBig(&header, static_cast<std::uint32_t>(size));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    Chunk(&png, "IHDR", header);
    Chunk(&png, "IDAT", Stored(raw));
    Chunk(&png, "IEND", {});
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return out ? 0 : 1;
}
