#include "tests/e2e/XwdImage.h"

#include <bit>
#include <fstream>
#include <iterator>

namespace {

// The header's fields, all 32-bit big-endian, in file order.
enum XwdField {
    kHeaderSize,
    kFileVersion,
    kPixmapFormat,
    kPixmapDepth,
    kPixmapWidth,
    kPixmapHeight,
    kXOffset,
    kByteOrder,
    kBitmapUnit,
    kBitmapBitOrder,
    kBitmapPad,
    kBitsPerPixel,
    kBytesPerLine,
    kVisualClass,
    kRedMask,
    kGreenMask,
    kBlueMask,
    kBitsPerRgb,
    kColormapEntries,
    kColorCount,
    kFieldCount = 25
};
constexpr std::uint32_t kZPixmap = 2;
constexpr std::uint32_t kTrueColor = 4;
constexpr std::size_t kColorSize = 12;

std::uint32_t BigEndian32(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// The 8-bit value of one channel of a pixel.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const std::uint32_t value = (pixel & mask) >> std::countr_zero(mask);
    const int bits = std::popcount(mask);
    return bits >= 8 ? value >> (bits - 8) : value << (8 - bits);
}

} // namespace

std::optional<XwdImage> XwdImage::Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in),
                                           std::istreambuf_iterator<char>()};
    if (bytes.size() < kFieldCount * 4)
        return std::nullopt;
    std::uint32_t h[kFieldCount];
    for (int i = 0; i < kFieldCount; ++i)
        h[i] = BigEndian32(&bytes[std::size_t(i) * 4]);
    const std::uint32_t bpp = h[kBitsPerPixel];
    if (h[kPixmapFormat] != kZPixmap || h[kVisualClass] != kTrueColor || (bpp != 24 && bpp != 32))
        return std::nullopt;
    const std::size_t offset = std::size_t(h[kHeaderSize]) + h[kColorCount] * kColorSize;
    const std::size_t cx = h[kPixmapWidth];
    const std::size_t cy = h[kPixmapHeight];
    const std::size_t stride = h[kBytesPerLine];
    if (cx == 0 || cy == 0 || cx > 10000 || cy > 10000 || stride < cx * (bpp / 8) ||
        bytes.size() < offset + stride * cy)
        return std::nullopt;

    XwdImage image;
    image.m_cx = int(cx);
    image.m_cy = int(cy);
    image.m_pixels.resize(cx * cy);
    const bool bMsbFirst = h[kByteOrder] != 0;
    const std::size_t nBytes = bpp / 8;
    for (std::size_t y = 0; y < cy; ++y) {
        for (std::size_t x = 0; x < cx; ++x) {
            const unsigned char* p = &bytes[offset + y * stride + x * nBytes];
            std::uint32_t pixel = 0;
            for (std::size_t i = 0; i < nBytes; ++i)
                pixel |= std::uint32_t(p[i]) << (8 * (bMsbFirst ? nBytes - 1 - i : i));
            image.m_pixels[y * cx + x] = Channel(pixel, h[kRedMask]) << 16 |
                                         Channel(pixel, h[kGreenMask]) << 8 |
                                         Channel(pixel, h[kBlueMask]);
        }
    }
    return image;
}

std::optional<XwdImage> XwdImage::ReadPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    std::size_t cx = 0, cy = 0, maxValue = 0;
    // grim writes no comments in the header; one white-space byte ends it.
    in >> magic >> cx >> cy >> maxValue;
    in.get();
    if (!in || magic != "P6" || maxValue != 255 || cx == 0 || cy == 0 || cx > 10000 || cy > 10000)
        return std::nullopt;
    std::vector<unsigned char> bytes(cx * cy * 3);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size())))
        return std::nullopt;
    XwdImage image;
    image.m_cx = int(cx);
    image.m_cy = int(cy);
    image.m_pixels.resize(cx * cy);
    for (std::size_t i = 0; i < cx * cy; ++i)
        image.m_pixels[i] = std::uint32_t(bytes[3 * i]) << 16 |
                            std::uint32_t(bytes[3 * i + 1]) << 8 | bytes[3 * i + 2];
    return image;
}

std::uint32_t XwdImage::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_cx || y >= m_cy)
        return 0;
    return m_pixels[std::size_t(y) * std::size_t(m_cx) + std::size_t(x)];
}
