#include "engine/StartupNotices.h"

#include "engine/FileMessage.h"
#include "engine/Texts.h"

namespace cxb {

std::vector<std::string> StartupNotices::of(const LearnerFolder::Report& report, const std::string& folder) {
    std::vector<std::string> out;
    for (const auto& [name, bank] : report.banks) {
        if (bank.outcome != BankUpgrade::Outcome::Salvaged) continue;
        const std::string file = folder + "/" + name;
        out.push_back(texts::bankSalvaged(file, FileMessage::cause(bank.damage), bank.carried,
                                          bank.backup.empty() ? std::string("（无）") : bank.backup));
    }
    return out;
}

} // namespace cxb
