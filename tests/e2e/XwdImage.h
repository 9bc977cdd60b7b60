// A window's picture as `xwd` writes it (X Window Dump, true colour), or a screen's as `grim`
// writes it on Wayland (binary PPM), read back pixel by pixel.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class XwdImage {
public:
    // Nothing if the file is not a true-colour dump of 24 or 32 bits a pixel.
    static std::optional<XwdImage> Read(const std::string& path);
    // Nothing if the file is not a binary PPM of 8 bits a channel.
    static std::optional<XwdImage> ReadPpm(const std::string& path);

    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    // 0xRRGGBB; black outside the picture.
    std::uint32_t Pixel(int x, int y) const;

private:
    int m_cx = 0;
    int m_cy = 0;
    std::vector<std::uint32_t> m_pixels;
};
