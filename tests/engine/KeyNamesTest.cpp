// The names of the keys beside the settings' key codes and on the
// information page: every kind of key the settings can take.
#include <gtest/gtest.h>

#include "engine/KeyNames.h"

using namespace cxb;

TEST(KeyNames, EveryKindOfKeyHasItsName) {
    struct Case {
        int vk;
        const char* name;
    };
    const Case cases[] = {
        // letters and the digits of the main keyboard
        {0x41, "A"}, {0x44, "D"}, {0x5A, "Z"}, {0x30, "0"}, {0x31, "1"}, {0x39, "9"},
        // the keypad
        {0x60, "小键盘0"}, {0x61, "小键盘1"}, {0x66, "小键盘6"}, {0x69, "小键盘9"},
        {0x6A, "小键盘*"}, {0x6B, "小键盘+"}, {0x6D, "小键盘-"}, {0x6E, "小键盘."}, {0x6F, "小键盘/"},
        // arrows and the keys around them
        {0x25, "←"}, {0x26, "↑"}, {0x27, "→"}, {0x28, "↓"},
        {0x21, "Page Up"}, {0x22, "Page Down"}, {0x23, "End"}, {0x24, "Home"}, {0x2D, "Insert"}, {0x2E, "Delete"},
        // function keys, F1 to F24
        {0x70, "F1"}, {0x74, "F5"}, {0x7B, "F12"}, {0x87, "F24"},
        // the rest of what a key press can give
        {0x08, "退格"}, {0x09, "Tab"}, {0x0C, "Clear"}, {0x0D, "回车"}, {0x10, "Shift"}, {0x11, "Ctrl"},
        {0x12, "Alt"}, {0x13, "Pause"}, {0x14, "Caps Lock"}, {0x1B, "Esc"}, {0x20, "空格"},
        {0x2C, "Print Screen"}, {0x5B, "Win"}, {0x5D, "菜单键"}, {0x90, "Num Lock"}, {0x91, "Scroll Lock"},
        {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."}, {0xBF, "/"}, {0xC0, "`"},
        {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"},
        // codes without a key of their own, and values no key has
        {0x00, "键码 0"}, {0x07, "键码 7"}, {0x40, "键码 64"}, {0x5E, "键码 94"}, {0x6C, "键码 108"},
        {0x88, "键码 136"}, {0xFF, "键码 255"}, {65536, "键码 65536"}, {-1, "键码 -1"},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyNames::name(c.vk), c.name) << c.vk;
}

TEST(KeyNames, FieldTextNamesItsCodeOrNothing) {
    struct Case {
        const char* text;
        const char* name;
    };
    const Case cases[] = {
        {"105", "小键盘9"}, {"97", "小键盘1"}, {"65", "A"}, {"38", "↑"}, {"116", "F5"}, {"0065", "A"},
        {"", ""}, {"12a", ""}, {" 65", ""}, {"99999999999", ""}, {"-5", "键码 -5"},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyNames::nameOfField(c.text), c.name) << '"' << c.text << '"';
}
