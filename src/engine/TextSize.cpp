#include "engine/TextSize.h"

namespace cxb {

TextSize::Size TextSize::fromIndex(int index) {
    return index == Large || index == ExtraLarge ? static_cast<Size>(index) : Standard;
}

TextSize::Size TextSize::of(const Sfile& state) { return fromIndex(state.textSize); }

void TextSize::store(Sfile& state, Size size) { state.textSize = size; }

double TextSize::factor(Size size) {
    switch (size) {
    case Large: return 1.25;
    case ExtraLarge: return 1.5;
    case Standard: break;
    }
    return 1.0;
}

const std::array<const char*, TextSize::kCount>& TextSize::names() {
    static const std::array<const char*, kCount> n{"标准", "大", "特大"};
    return n;
}

} // namespace cxb
