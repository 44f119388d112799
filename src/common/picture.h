#pragma once

#include <cstdint>
#include <vector>

namespace soramado {

// A small picture in memory: 32-bit pixels 0xFFRRGGBB, rows top-down, the
// stride equal to the width. The layout of a Qt RGB32 image and of a
// top-down 32-bit Windows bitmap, so that either shell shows it without copying.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height, std::uint32_t fill = 0xFF000000u);

    int width() const { return width_; }
    int height() const { return height_; }
    bool isNull() const { return pixels_.empty(); }

    std::uint32_t pixel(int x, int y) const
    {
        return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                       static_cast<std::size_t>(x)];
    }
    void setPixel(int x, int y, std::uint32_t argb)
    {
        pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(x)] = argb;
    }
    void fill(std::uint32_t argb);

    const std::uint32_t* data() const { return pixels_.data(); }
    std::uint32_t* data() { return pixels_.data(); }
    const std::uint32_t* row(int y) const
    {
        return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }
    std::uint32_t* row(int y)
    {
        return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }

    bool operator==(const Picture&) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};

// Lays a mask and a sprite frame over the top of the view: per 8-bit channel,
// view = (view OR mask) AND sprite, over the frames' rectangle from (0, 0).
void combineMaskAndSprite(Picture& view, const Picture& mask, const Picture& sprite);

// Scales pixel art for a screen with `ratio` device pixels to a logical pixel.
// The largest whole factor is done by repeating pixels, so every source pixel
// becomes an even block; what is left of a fractional ratio is resampled by
// area, so only the seams between two blocks mix and nothing blurs.
Picture scalePixelArt(const Picture& picture, double ratio);

} // namespace soramado
