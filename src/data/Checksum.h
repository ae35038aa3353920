#pragma once
#include <cstdint>
#include <string_view>

namespace cxb {

// The 64-bit FNV-1a hash of `bytes`: tells whether a file holds exactly the
// bytes that were meant for it.
std::uint64_t fnv1a64(std::string_view bytes);

} // namespace cxb
