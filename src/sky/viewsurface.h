#pragma once

#include <QImage>

#include <cstdint>

namespace soramado {

// The 160 × 120 picture that the window shows. Its pixels persist: what is
// drawn stays until the picture is set again. Every change bumps a revision,
// so the window repaints only when the pixels changed.
class ViewSurface {
public:
    static constexpr int Width = 160;
    static constexpr int Height = 120;
    static constexpr QRgb DesignBackground = 0xffc0ffffu; // red 192, green 255, blue 255

    ViewSurface();

    // Replaces the whole content.
    void setPicture(const QImage& picture);
    void setPoint(int x, int y, QRgb colour);
    // A copy of the current content, drawn pixels included.
    QImage picture() const { return image_.copy(); }

    const QImage& image() const { return image_; }
    // For drawing that works on the pixels directly; call markChanged() after.
    QImage& pixels() { return image_; }
    void markChanged() { ++revision_; }

    std::uint64_t revision() const { return revision_; }

private:
    QImage image_;
    std::uint64_t revision_ = 0;
};

} // namespace soramado
