#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace cxb::gbk {

// GBK (code page 936) to UTF-8. nullopt when the bytes are not valid GBK.
std::optional<std::string> toUtf8(std::string_view gbk);
// Same, but undecodable bytes become U+FFFD so the text can always be shown.
std::string toUtf8Lossy(std::string_view gbk);
// UTF-8 to GBK. nullopt when a character has no GBK form.
std::optional<std::string> fromUtf8(std::string_view utf8);
// Same, but characters without a GBK form become '?'.
std::string fromUtf8Lossy(std::string_view utf8);

// Length of the longest prefix of `gbk` that is at most `maxBytes` long and
// does not end in the middle of a double-byte character.
std::size_t prefixAtBoundary(std::string_view gbk, std::size_t maxBytes);

} // namespace cxb::gbk
