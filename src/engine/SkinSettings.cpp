#include "engine/SkinSettings.h"

#include "data/FixedField.h"
#include "data/Gbk.h"

namespace cxb {

namespace {
char* field(Sfile& s, int i) {
    char* fields[] = {s.skinSunXu, s.skinChuji, s.skinNanti, s.skinKaoshi};
    return fields[i];
}
const char* kLabels[] = {"顺序练习", "初步练习", "难题练习", "模拟考试"};
} // namespace

SkinSettings::Names SkinSettings::read(const Sfile& state) {
    Names names;
    const char* fields[] = {state.skinSunXu, state.skinChuji, state.skinNanti, state.skinKaoshi};
    for (int i = 0; i < 4; ++i) names[static_cast<std::size_t>(i)] = gbk::toUtf8Lossy(readField(fields[i], 100));
    return names;
}

std::string SkinSettings::store(Sfile& state, const Names& names) {
    std::array<std::string, 4> stored;
    for (int i = 0; i < 4; ++i) {
        auto gbkName = gbk::fromUtf8(names[static_cast<std::size_t>(i)]);
        if (!gbkName) return std::string(kLabels[i]) + "的图片名含有无法保存的字符，请换一个名字。";
        if (gbkName->size() > 99)
            return std::string(kLabels[i]) + "的图片名太长了（最多99个字节，一个汉字占2个字节），请换一个短一些的名字。";
        stored[static_cast<std::size_t>(i)] = *gbkName;
    }
    for (int i = 0; i < 4; ++i) writeField(field(state, i), 100, stored[static_cast<std::size_t>(i)]);
    return {};
}

} // namespace cxb
