#include "engine/KeyNames.h"

#include <charconv>

namespace cxb {

namespace {

struct Named {
    int vk;
    const char* name;
};

// Keys with a name of their own; letters, digits, the keypad digits and the
// function keys are named by rule.
constexpr Named kNamed[] = {
    {0x08, "退格"},        {0x09, "Tab"},         {0x0C, "Clear"},      {0x0D, "回车"},
    {0x10, "Shift"},       {0x11, "Ctrl"},        {0x12, "Alt"},        {0x13, "Pause"},
    {0x14, "Caps Lock"},   {0x1B, "Esc"},         {0x20, "空格"},       {0x21, "Page Up"},
    {0x22, "Page Down"},   {0x23, "End"},         {0x24, "Home"},       {0x25, "←"},
    {0x26, "↑"},           {0x27, "→"},           {0x28, "↓"},          {0x2C, "Print Screen"},
    {0x2D, "Insert"},      {0x2E, "Delete"},      {0x5B, "Win"},        {0x5C, "右Win"},
    {0x5D, "菜单键"},      {0x6A, "小键盘*"},     {0x6B, "小键盘+"},    {0x6D, "小键盘-"},
    {0x6E, "小键盘."},     {0x6F, "小键盘/"},     {0x90, "Num Lock"},   {0x91, "Scroll Lock"},
    {0xBA, ";"},           {0xBB, "="},           {0xBC, ","},          {0xBD, "-"},
    {0xBE, "."},           {0xBF, "/"},           {0xC0, "`"},          {0xDB, "["},
    {0xDC, "\\"},          {0xDD, "]"},           {0xDE, "'"},
};

} // namespace

std::string KeyNames::name(int vk) {
    if (vk >= 0x41 && vk <= 0x5A) return std::string(1, static_cast<char>(vk));
    if (vk >= 0x30 && vk <= 0x39) return std::string(1, static_cast<char>(vk));
    if (vk >= 0x60 && vk <= 0x69) return "小键盘" + std::to_string(vk - 0x60);
    if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
    for (const Named& k : kNamed)
        if (k.vk == vk) return k.name;
    return "键码 " + std::to_string(vk);
}

std::string KeyNames::nameOfField(const std::string& digits) {
    int vk = 0;
    const char* end = digits.data() + digits.size();
    auto [at, ec] = std::from_chars(digits.data(), end, vk);
    if (digits.empty() || ec != std::errc() || at != end) return {};
    return name(vk);
}

} // namespace cxb
