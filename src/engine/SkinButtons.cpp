#include "engine/SkinButtons.h"

namespace cxb {

namespace {
const SkinButtons::Keys kKeys[] = {
    {Ctl::ima_sunxu, "ima_sunxu", "ima_sunxu0", "ima_sunxuDown"},
    {Ctl::Imchuji, "ima_chuji", "ima_chuji0", "ima_chujiDown"},
    {Ctl::Ima_nanti, "ima_nanti", "ima_nantiMove", "ima_nantiDown"},
    {Ctl::Ima_kaoshi, "ima_ima_monikaoshi", "ima_ima_monikaoshiMove", "ima_ima_monikaoshiDown"},
    {Ctl::Ima_cuowuji, "ima_cuowuji", "ima_cuowuji_m", "ima_cuowuji_d"},
    {Ctl::Ima_tiku, "Ima_tiku", "Ima_tiku_m", "Ima_tiku_d"},
    {Ctl::img_lishi, "img_lishi", "img_lishi_m", "img_lishi_d"},
    {Ctl::img_shezhi, "img_shezhi", "img_shezhi_m", "img_shezhi_d"},
    {Ctl::imgzhuozhe, "imgzhuozhe", "imgzhuozhe_m", "imgzhuozhe_d"},
    {Ctl::img5, "close.png", "close0.png", nullptr},
    {Ctl::Image1, "a.png", "a0.png", "a.png"},
    {Ctl::Image3, "b.png", "b0.png", "b.png"},
    {Ctl::img3, "c.png", "c0.png", "c.png"},
    {Ctl::img4, "d.png", "d0.png", "d.png"},
    {Ctl::Image4, "dui.png", "dui0.png", "dui.png"},
    {Ctl::Image5, "cuo.png", "cuo0.png", "cuo.png"},
};
} // namespace

SkinButtons::SkinButtons(Session& s) : s_(s) {}

const SkinButtons::Keys* SkinButtons::table(int* count) {
    *count = static_cast<int>(sizeof kKeys / sizeof kKeys[0]);
    return kKeys;
}

const SkinButtons::Keys* SkinButtons::keysOf(Ctl button) {
    for (const auto& k : kKeys)
        if (k.button == button) return &k;
    return nullptr;
}

bool SkinButtons::isAnswerButton(Ctl b) {
    return b == Ctl::Image1 || b == Ctl::Image3 || b == Ctl::img3 || b == Ctl::img4 || b == Ctl::Image4 ||
           b == Ctl::Image5;
}

void SkinButtons::load(Ctl button, const char* key) { s_.port.setImage(button, s_.nativePath(lookupSkin(s_.skin, key))); }

void SkinButtons::showNormal() {
    for (const auto& k : kKeys) load(k.button, k.normal);
}

void SkinButtons::mouseMove(Ctl button) {
    const Keys* k = keysOf(button);
    if (!k || !s_.hoverArmed) return;
    s_.hoverArmed = false;
    load(button, k->hover);
    if (isAnswerButton(button)) refreshAnswerButtons();
}

void SkinButtons::mouseLeave(Ctl button) {
    const Keys* k = keysOf(button);
    if (!k) return;
    load(button, k->normal);
    s_.hoverArmed = true;
    if (isAnswerButton(button)) refreshAnswerButtons();
}

void SkinButtons::mouseDown(Ctl button) {
    const Keys* k = keysOf(button);
    if (!k || !k->pressed) return;
    if (isAnswerButton(button)) {
        load(button, k->normal);
        s_.hoverArmed = true;
        refreshAnswerButtons();
    } else {
        load(button, k->pressed);
    }
}

void SkinButtons::refreshAnswerButtons() {
    if (s_.soundOn) s_.port.playSound(s_.nativePath(lookupSkin(s_.skin, "shengyintexiao")));
    ListEntry* e = s_.shown();
    if (!e) return;
    static const struct { Ctl button; const char* key; } chosen[] = {
        {Ctl::Image1, "a0.png"}, {Ctl::Image3, "b0.png"}, {Ctl::img3, "c0.png"},
        {Ctl::img4, "d0.png"},   {Ctl::Image5, "cuo0.png"}, {Ctl::Image4, "dui0.png"}};
    if (e->userAnswer >= 1 && e->userAnswer <= 6) load(chosen[e->userAnswer - 1].button, chosen[e->userAnswer - 1].key);
}

} // namespace cxb
