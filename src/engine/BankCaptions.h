#pragma once
#include <optional>
#include <string>

namespace cxb {

// The captions of the three built-in banks in the settings dialog, with the
// number of questions each bank file really holds.
class BankCaptions {
public:
    static constexpr const char* kMissing = "未找到题库文件";
    static constexpr const char* kUnreadable = "题库文件无法读取";

    // The bank file of choice 1 (car), 2 (bus) or 3 (truck), relative to the
    // program's folder in the stored form ("bankdata\小车.tk").
    static std::string storedPath(int choice);
    // The question count of a bank file: nullopt when there is no such file;
    // -1 when it is there but is no bank that can be read.
    static std::optional<int> questionCount(const std::string& nativePath);
    // "小车类：725题 (准驾车型：C1、C2、C3、C4、C5)" and its kin, UTF-8.
    static std::string caption(int choice, std::optional<int> count);
};

} // namespace cxb
