#include "assets/assets.h"

#include "assets/embedded.h"
#include "common/numbers.h"

#include <array>
#include <cstring>

#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_ASSERT(x) ((void)0)
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wconversion"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace soramado::assets {

std::span<const unsigned char> embeddedFile(std::string_view name)
{
    for (std::size_t i = 0; i < EmbeddedFileCount; ++i) {
        if (name == EmbeddedFiles[i].name)
            return {EmbeddedFiles[i].data, EmbeddedFiles[i].size};
    }
    return {};
}

Picture decodePng(std::span<const unsigned char> png)
{
    if (png.empty())
        return {};
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* rgba = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &width, &height,
                                          &channels, 4);
    if (!rgba)
        return {};
    Picture picture(width, height);
    std::uint32_t* out = picture.data();
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < count; ++i) {
        const stbi_uc* p = rgba + i * 4;
        out[i] = 0xff000000u | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    }
    stbi_image_free(rgba);
    return picture;
}

namespace {

// The last few pictures decoded, most recent first. A visitor step asks for
// its scene, mask and sprite ten times a second, mostly the same three as on
// the step before; decoding them anew costs a thousand times the rest of the
// tick. Four places hold one step's pictures with one to spare and bound the
// memory to a few hundred kilobytes. Callers share the decoded pictures, which
// nobody changes.
class RecentPictures {
public:
    PictureRef load(const std::string& path)
    {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].picture && entries_[i].path == path) {
                rotateToFront(i);
                return entries_.front().picture;
            }
        }
        Picture decoded = decodePng(embeddedFile(path));
        if (decoded.isNull())
            return {}; // nothing under that name: nothing to keep
        auto picture = std::make_shared<const Picture>(std::move(decoded));
        rotateToFront(entries_.size() - 1);
        entries_.front() = {path, picture};
        return picture;
    }

    void clear() { entries_ = {}; }

private:
    struct Entry {
        std::string path;
        PictureRef picture;
    };

    void rotateToFront(std::size_t i)
    {
        for (; i > 0; --i)
            std::swap(entries_[i], entries_[i - 1]);
    }

    std::array<Entry, 4> entries_;
};

RecentPictures& recent()
{
    static RecentPictures pictures;
    return pictures;
}

} // namespace

PictureRef scene(int position)
{
    if (position < 1 || position > SceneCount)
        return {};
    return recent().load("view/" + std::to_string(position) + ".png");
}

PictureRef frame(std::string_view key)
{
    if (key.size() != 5)
        return {};
    const std::string name(key);
    if (key.front() == 'M')
        return recent().load("mask/" + name + ".png");
    if (key.front() == 'G')
        return recent().load("guest/" + name + ".png");
    return {};
}

void forgetDecodedPictures()
{
    recent().clear();
}

std::string frameKey(char list, int visitor, int frameNo)
{
    return list + twoDigits(visitor) + twoDigits(frameNo);
}

std::span<const unsigned char> iconPng()
{
    return embeddedFile("icon.png");
}

} // namespace soramado::assets
