#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace cxb {

// Fixed-width, NUL-terminated byte fields of the bank and state files.

// The bytes up to the terminator, never more than the field's width.
std::string_view readField(const char* field, std::size_t width);

template <std::size_t N>
std::string_view readField(const char (&field)[N]) { return readField(field, N); }

// Writes `gbk` and a terminator into the field, cut at a character boundary
// so that the terminator fits; bytes after the terminator keep their value.
// Returns false when the text had to be cut.
bool writeField(char* field, std::size_t width, std::string_view gbk);

template <std::size_t N>
bool writeField(char (&field)[N], std::string_view gbk) { return writeField(field, N, gbk); }

inline std::int32_t readInt32(const unsigned char* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                     (static_cast<std::uint32_t>(p[2]) << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}

} // namespace cxb
