#pragma once
#include <string>

namespace cxb {

// The edition of the shipped banks (content/banks): the year of the road
// traffic law they follow and who wrote them. Change it together with the
// banks' questions.
class BankEdition {
public:
    static constexpr int kLawYear = 2026;
    static constexpr const char* kAuthor = "驰学宝编写组";

    // The settings dialog's title: "设置 2026年题库".
    static std::string settingsTitle();
    // "依据2026年现行的道路交通安全法律、法规编写".
    static std::string lawText();
};

} // namespace cxb
