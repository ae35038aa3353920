#pragma once
#include <QColor>
#include <cstdint>

namespace cxb {

// Windows colour values (0x00BBGGRR) as the state file keeps them.
inline QColor toQColor(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }
inline std::int32_t fromQColor(const QColor& c) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
                                     (static_cast<std::uint32_t>(c.blue()) << 16));
}

} // namespace cxb
