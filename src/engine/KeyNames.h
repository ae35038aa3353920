#pragma once
#include <string>

namespace cxb {

// The name a learner knows a key by, for a Windows virtual-key code as the
// settings keep it: "A", "1", "小键盘9", "↑", "F5", "空格". A code without a
// name reads "键码 123". UTF-8.
class KeyNames {
public:
    static std::string name(int vk);
    // The name of a key field's text (a decimal code); empty for a text
    // that holds no code.
    static std::string nameOfField(const std::string& digits);
};

} // namespace cxb
