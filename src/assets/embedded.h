#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace soramado::assets {

// A file built into the program, named by its path under src/assets.
struct EmbeddedFile {
    const char* name;
    const unsigned char* data;
    std::size_t size;
};

extern const EmbeddedFile EmbeddedFiles[];
extern const std::size_t EmbeddedFileCount;

// The bytes of the embedded file with that name; empty when there is none.
std::span<const unsigned char> embeddedFile(std::string_view name);

} // namespace soramado::assets
