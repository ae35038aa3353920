#pragma once
#include <array>
#include <cstdint>

#include "data/Sfile.h"

namespace cxb {

// The size of the question text, its options and the explanation: 字号 in
// the settings dialog. It is kept in the state file's padding byte
// `Sfile::textSize`, which older files hold as 0: the standard size.
class TextSize {
public:
    enum Size : std::uint8_t { Standard = 0, Large = 1, ExtraLarge = 2 };
    static constexpr int kCount = 3;

    // The size a state holds; a byte no size is stored as reads standard.
    static Size of(const Sfile& state);
    static void store(Sfile& state, Size size);
    // A size from the index of the settings dialog's choice (0..2); any
    // other index is the standard size.
    static Size fromIndex(int index);

    // How much larger than designed the text is drawn.
    static double factor(Size size);
    // The names the settings dialog offers, in index order (UTF-8).
    static const std::array<const char*, kCount>& names();
};

} // namespace cxb
