#include "engine/BankCaptions.h"

#include <cstdint>
#include <cstring>
#include <fstream>

#include "data/Bank.h"
#include "data/BankFile.h"
#include "data/FileBytes.h"

namespace cxb {

namespace {

struct BuiltIn {
    const char* kind;     // before the count
    const char* classes;  // after it, spaced as each caption always was
    const char* stored;   // GBK
};

const BuiltIn kBanks[] = {
    {"小车类：", " (准驾车型：C1、C2、C3、C4、C5)", "bankdata\\\xD0\xA1\xB3\xB5.tk"},
    {"客车类：", "(准驾车型：A1、A3、B1、N、P)", "bankdata\\\xBF\xCD\xB3\xB5.tk"},
    {"货车类：", "(准驾车型：A2、B2)", "bankdata\\\xBB\xF5\xB3\xB5.tk"},
};

const BuiltIn* bank(int choice) { return choice >= 1 && choice <= 3 ? &kBanks[choice - 1] : nullptr; }

} // namespace

std::string BankCaptions::storedPath(int choice) {
    const BuiltIn* b = bank(choice);
    return b ? b->stored : "";
}

std::optional<int> BankCaptions::questionCount(const std::string& nativePath) {
    if (!pathExists(nativePath)) return std::nullopt;
    std::ifstream in(nativePath, std::ios::binary | std::ios::ate);
    if (!in || !fileExists(nativePath)) return -1;
    const auto size = static_cast<std::size_t>(in.tellg());
    std::int32_t count = -1;
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(&count), sizeof count)) return -1;
    // Only the header is read: the count must be one the program accepts and
    // the file long enough for it, as when the bank is loaded.
    if (count < 0 || count > Bank::kMaxQuestions || size < BankFile::fileSize(count)) return -1;
    return count;
}

std::string BankCaptions::caption(int choice, std::optional<int> count) {
    const BuiltIn* b = bank(choice);
    if (!b) return "";
    std::string middle = !count ? kMissing : *count < 0 ? kUnreadable : std::to_string(*count) + "题";
    return std::string(b->kind) + middle + b->classes;
}

} // namespace cxb
