#include "pngfile.h"

#include "binaryoutput.h"
#include "common/linktarget.h"
#include "common/quoting.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#define STBIW_ASSERT(x) ((void)0)
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace soramado {

namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> encodePng(const Picture& picture)
{
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<std::size_t>(picture.width()) *
                static_cast<std::size_t>(picture.height()) * 3);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t c = picture.pixel(x, y);
            rgb.push_back(static_cast<unsigned char>(c >> 16));
            rgb.push_back(static_cast<unsigned char>(c >> 8));
            rgb.push_back(static_cast<unsigned char>(c));
        }
    }
    std::vector<unsigned char> png;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* out = static_cast<std::vector<unsigned char>*>(context);
            const auto* bytes = static_cast<const unsigned char*>(data);
            out->insert(out->end(), bytes, bytes + size);
        },
        &png, picture.width(), picture.height(), 3, rgb.data(), picture.width() * 3);
    return png;
}

std::string reason(int error)
{
    return error ? std::strerror(error) : "unknown error";
}

// Every byte out and the stream closed without an error.
std::optional<std::string> writeAll(std::FILE* file, const std::vector<unsigned char>& bytes)
{
    errno = 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = errno;
    if (std::fflush(file) != 0 && written)
        error = errno;
    if (!written || std::ferror(file))
        return reason(error);
    return std::nullopt;
}

} // namespace

std::optional<std::string> writePng(const Picture& picture, const std::string& target)
{
    const std::vector<unsigned char> png = encodePng(picture);
    if (png.empty())
        return "cannot encode the picture";

    if (target == "-") {
        useBinaryStandardOutput();
        if (const auto failure = writeAll(stdout, png))
            return "cannot write the picture to standard output: " + *failure;
        return std::nullopt;
    }

    std::error_code ec;
    // A link is followed, so that the file it names gets the picture, also when
    // that file does not exist yet; the link stays.
    const fs::path path = linkTarget(target, ec);
    if (ec)
        return "cannot write " + quotedForMessage(target) + ": " + ec.message();
    const fs::file_status status = fs::status(path, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        // A device or a pipe cannot be replaced: write to it directly.
        std::FILE* file = std::fopen(path.string().c_str(), "wb");
        if (!file)
            return "cannot write " + quotedForMessage(target) + ": " + reason(errno);
        std::optional<std::string> failure = writeAll(file, png);
        if (std::fclose(file) != 0 && !failure)
            failure = reason(errno);
        if (failure)
            return "cannot write " + quotedForMessage(target) + ": " + *failure;
        return std::nullopt;
    }

    // Beside the target, so that the rename stays on one file system.
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path temporary = path;
    temporary += ".tmp" + std::to_string(stamp);
    std::FILE* file = std::fopen(temporary.string().c_str(), "wbx");
    if (!file)
        return "cannot write " + quotedForMessage(target) + ": " + reason(errno);
    std::optional<std::string> failure = writeAll(file, png);
    if (std::fclose(file) != 0 && !failure)
        failure = reason(errno);
    if (!failure) {
        fs::rename(temporary, path, ec);
        if (ec)
            failure = ec.message();
    }
    if (failure) {
        fs::remove(temporary, ec);
        return "cannot write " + quotedForMessage(target) + ": " + *failure;
    }
    return std::nullopt;
}

} // namespace soramado
