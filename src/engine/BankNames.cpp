#include "engine/BankNames.h"

#include "data/Gbk.h"
#include "data/Sfile.h"
#include "engine/ExamSession.h"

namespace cxb {

std::string BankNames::historyName(const std::string& stored, const std::string& loadedTag) {
    if (stored == "TKxiaoche") return "小车";
    if (stored == "TKkeche") return "客车";
    if (stored == "TKhuoche") return "货车";
    // The entry of the bank now loaded: its whole path is known.
    const bool loaded = !loadedTag.empty() && ExamSession::storedBankTag(loadedTag) == stored;
    const std::string path = gbk::toUtf8Lossy(loaded ? loadedTag : stored);
    // Separators are looked for in UTF-8, where no character's bytes hide one.
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos) return path.substr(slash + 1);
    // A stored tag that fills its field may be the end of a longer name.
    const std::size_t room = sizeof(HistoryEntry::bankTag) - 1;
    if (!loaded && stored.size() + 1 >= room) return "…" + path;
    return path;
}

} // namespace cxb
