#include "common/picture.h"

#include <algorithm>
#include <cmath>

namespace soramado {

Picture::Picture(int width, int height, std::uint32_t fill)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill)
{
    if (pixels_.empty())
        width_ = height_ = 0;
}

void Picture::fill(std::uint32_t argb)
{
    std::fill(pixels_.begin(), pixels_.end(), argb);
}

void combineMaskAndSprite(Picture& view, const Picture& mask, const Picture& sprite)
{
    const int width = std::min({view.width(), mask.width(), sprite.width()});
    const int height = std::min({view.height(), mask.height(), sprite.height()});
    for (int y = 0; y < height; ++y) {
        std::uint32_t* out = view.row(y);
        const std::uint32_t* m = mask.row(y);
        const std::uint32_t* s = sprite.row(y);
        for (int x = 0; x < width; ++x)
            out[x] = ((out[x] | m[x]) & s[x]) | 0xff000000u;
    }
}

namespace {

Picture repeatPixels(const Picture& picture, int factor)
{
    if (factor == 1)
        return picture;
    Picture out(picture.width() * factor, picture.height() * factor);
    for (int y = 0; y < out.height(); ++y) {
        const std::uint32_t* src = picture.row(y / factor);
        std::uint32_t* dst = out.row(y);
        for (int x = 0; x < out.width(); ++x)
            dst[x] = src[x / factor];
    }
    return out;
}

// Where output pixel i (of a row scaled up by 1/step) falls in the source: the
// first source pixel it covers, and how much of it lies on that one (the rest
// lies on the next). An upscale covers at most two source pixels.
struct Cover {
    int first;
    double weight;
};

Cover coverOf(int i, double step, int sourceLength)
{
    const double from = i * step;
    const double to = from + step;
    const int first = std::min(static_cast<int>(std::floor(from)), sourceLength - 1);
    const double boundary = first + 1.0;
    if (to <= boundary || first + 1 >= sourceLength)
        return {first, 1.0};
    return {first, (boundary - from) / step};
}

int channel(std::uint32_t c, int shift)
{
    return static_cast<int>((c >> shift) & 0xffu);
}

// Resamples to a larger size, each output pixel the area-weighted mean of the
// source pixels under it.
Picture resampleByArea(const Picture& picture, int width, int height)
{
    const double stepX = static_cast<double>(picture.width()) / width;
    const double stepY = static_cast<double>(picture.height()) / height;
    std::vector<Cover> columns(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        columns[static_cast<std::size_t>(x)] = coverOf(x, stepX, picture.width());

    Picture out(width, height);
    for (int y = 0; y < height; ++y) {
        const Cover row = coverOf(y, stepY, picture.height());
        const std::uint32_t* upper = picture.row(row.first);
        const std::uint32_t* lower = picture.row(std::min(row.first + 1, picture.height() - 1));
        std::uint32_t* dst = out.row(y);
        for (int x = 0; x < width; ++x) {
            const Cover col = columns[static_cast<std::size_t>(x)];
            const int next = std::min(col.first + 1, picture.width() - 1);
            const std::uint32_t c[4] = {upper[col.first], upper[next], lower[col.first],
                                        lower[next]};
            const double w[4] = {col.weight * row.weight, (1 - col.weight) * row.weight,
                                 col.weight * (1 - row.weight),
                                 (1 - col.weight) * (1 - row.weight)};
            double r = 0, g = 0, b = 0;
            for (int k = 0; k < 4; ++k) {
                r += w[k] * channel(c[k], 16);
                g += w[k] * channel(c[k], 8);
                b += w[k] * channel(c[k], 0);
            }
            const auto byte = [](double v) { return static_cast<std::uint32_t>(std::lround(v)); };
            dst[x] = 0xff000000u | byte(r) << 16 | byte(g) << 8 | byte(b);
        }
    }
    return out;
}

} // namespace

Picture scalePixelArt(const Picture& picture, double ratio)
{
    if (picture.isNull())
        return picture;
    if (!(ratio >= 1.0)) // below one there is no pixel art left to keep; NaN lands here too
        ratio = 1.0;
    const int width = std::max(1, static_cast<int>(std::lround(picture.width() * ratio)));
    const int height = std::max(1, static_cast<int>(std::lround(picture.height() * ratio)));
    // A ratio a hair below a whole number still counts as that number.
    const int whole = std::max(1, static_cast<int>(std::floor(ratio + 1e-6)));
    Picture out = repeatPixels(picture, whole);
    if (out.width() != width || out.height() != height)
        out = resampleByArea(out, width, height);
    return out;
}

} // namespace soramado
