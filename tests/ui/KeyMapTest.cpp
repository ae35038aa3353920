#include <QKeyEvent>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/KeyNames.h"
#include "ui/KeyMap.h"

using cxb::KeyMap;

TEST(KeyMap, VirtualKeyCodes) {
    struct Case { int key; Qt::KeyboardModifiers mods; int vk; };
    const Case cases[] = {
        {Qt::Key_A, Qt::NoModifier, 0x41},      {Qt::Key_D, Qt::ShiftModifier, 0x44},
        {Qt::Key_Z, Qt::NoModifier, 0x5A},      {Qt::Key_0, Qt::NoModifier, 0x30},
        {Qt::Key_9, Qt::NoModifier, 0x39},      {Qt::Key_1, Qt::KeypadModifier, 97},
        {Qt::Key_9, Qt::KeypadModifier, 105},   {Qt::Key_6, Qt::KeypadModifier, 102},
        {Qt::Key_0, Qt::KeypadModifier, 96},    {Qt::Key_Left, Qt::NoModifier, 37},
        {Qt::Key_Up, Qt::NoModifier, 38},       {Qt::Key_Right, Qt::NoModifier, 39},
        {Qt::Key_Down, Qt::NoModifier, 40},     {Qt::Key_Down, Qt::KeypadModifier, 40},
        {Qt::Key_F1, Qt::NoModifier, 0x70},     {Qt::Key_F12, Qt::NoModifier, 0x7B},
        {Qt::Key_Space, Qt::NoModifier, 0x20},  {Qt::Key_Return, Qt::NoModifier, 0x0D},
        {Qt::Key_Escape, Qt::NoModifier, 0x1B}, {Qt::Key_Asterisk, Qt::KeypadModifier, 0x6A},
        {Qt::Key_Plus, Qt::KeypadModifier, 0x6B}, {Qt::Key_Minus, Qt::KeypadModifier, 0x6D},
        {Qt::Key_Slash, Qt::KeypadModifier, 0x6F}, {Qt::Key_PageDown, Qt::NoModifier, 0x22},
        {Qt::Key_Home, Qt::NoModifier, 0x24},   {Qt::Key_Delete, Qt::NoModifier, 0x2E},
        {Qt::Key_Exclam, Qt::ShiftModifier, 0x31}, {Qt::Key_Comma, Qt::NoModifier, 0xBC},
    };
    for (const auto& c : cases) {
        QKeyEvent event(QEvent::KeyRelease, c.key, c.mods);
        EXPECT_EQ(KeyMap::virtualKey(event), c.vk) << "Qt key " << std::hex << c.key;
    }
}

// Every code a key press can give the settings has a name a learner knows.
TEST(KeyMap, EveryCodeAKeyGivesHasAName) {
    std::vector<std::pair<int, bool>> keys;
    for (int key = 0x20; key <= 0xff; ++key) keys.push_back({key, false});
    for (int key = 0x01000000; key <= 0x010000ff; ++key) keys.push_back({key, false});
    for (int key = 0x20; key <= 0x7f; ++key) keys.push_back({key, true});
    for (int key = Qt::Key_Escape; key <= Qt::Key_Direction_R; ++key) keys.push_back({key, true});
    int named = 0;
    for (auto [key, keypad] : keys) {
        const int vk = KeyMap::virtualKey(key, keypad);
        if (vk == 0) continue;
        ++named;
        EXPECT_EQ(cxb::KeyNames::name(vk).rfind("键码", 0), std::string::npos)
            << "Qt key " << std::hex << key << (keypad ? " on the keypad" : "") << " gives " << std::dec << vk;
    }
    EXPECT_GT(named, 100);
}
