#include "data/FixedField.h"

#include "data/Gbk.h"

namespace cxb {

std::string_view readField(const char* field, std::size_t width) {
    const void* nul = std::memchr(field, 0, width);
    std::size_t len = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : width;
    return std::string_view(field, len);
}

bool writeField(char* field, std::size_t width, std::string_view gbk) {
    if (width == 0) return gbk.empty();
    std::size_t n = gbk.size() < width ? gbk.size() : gbk::prefixAtBoundary(gbk, width - 1);
    std::memcpy(field, gbk.data(), n);
    field[n] = '\0';
    return n == gbk.size();
}

} // namespace cxb
