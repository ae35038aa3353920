#pragma once
#include <string>

#include "engine/Session.h"

namespace cxb {

// The bank browser (souPNL): search the whole bank by id or text and show
// the chosen question with its answer and picture.
class BankSearch {
public:
    explicit BankSearch(Session& s);

    void btn2Click();
    void souClick();
    void setSearchText(const std::string& utf8) { s_.searchText = utf8; }
    void lv2SelectItem(int row);

    static bool matches(const std::string& textUtf8, int id, const std::string& search);

private:
    Session& s_;
};

} // namespace cxb
