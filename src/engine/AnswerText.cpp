#include "engine/AnswerText.h"

namespace cxb {

std::string answerText(std::int32_t type, std::int32_t code) {
    if (type == 3) {
        static const struct { std::int32_t bit; const char* letter; } letters[] = {
            {2, "A"}, {4, "B"}, {8, "C"}, {16, "D"}, {32, "E"}, {64, "F"},
            {128, "G"}, {256, "H"}, {1024, "J"}, {2048, "K"}};
        std::string out;
        for (const auto& l : letters)
            if (code & l.bit) out += l.letter;
        return out;
    }
    switch (code) {
    case 1: return "A";
    case 2: return "B";
    case 3: return "C";
    case 4: return "D";
    case 5: return "错";
    case 6: return "对";
    default: return {};
    }
}

} // namespace cxb
