#include "data/Checksum.h"

namespace cxb {

std::uint64_t fnv1a64(std::string_view bytes) {
    std::uint64_t h = 0xcbf29ce484222325ULL; // offset basis
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 0x100000001b3ULL; // FNV prime
    }
    return h;
}

} // namespace cxb
