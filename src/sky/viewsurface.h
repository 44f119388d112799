#pragma once

#include "common/picture.h"

#include <cstdint>

namespace soramado {

// The 160 × 120 picture that the window shows. Its pixels persist: what is
// drawn stays until the picture is set again. Every change bumps a revision,
// so the window repaints only when the pixels changed.
class ViewSurface {
public:
    static constexpr int Width = 160;
    static constexpr int Height = 120;
    static constexpr std::uint32_t DesignBackground = 0xffc0ffffu; // red 192, green 255, blue 255

    ViewSurface();

    // Replaces the whole content.
    void setPicture(const Picture& picture);
    void setPoint(int x, int y, std::uint32_t colour);
    // A copy of the current content, drawn pixels included.
    Picture picture() const { return image_; }

    const Picture& image() const { return image_; }
    // For drawing that works on the pixels directly; call markChanged() after.
    Picture& pixels() { return image_; }
    void markChanged() { ++revision_; }

    std::uint64_t revision() const { return revision_; }

private:
    Picture image_;
    std::uint64_t revision_ = 0;
};

} // namespace soramado
