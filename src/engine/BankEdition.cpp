#include "engine/BankEdition.h"

namespace cxb {

std::string BankEdition::settingsTitle() { return "设置 " + std::to_string(kLawYear) + "年题库"; }

std::string BankEdition::lawText() {
    return "依据" + std::to_string(kLawYear) + "年现行的道路交通安全法律、法规编写";
}

} // namespace cxb
