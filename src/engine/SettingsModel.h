#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/Sfile.h"

namespace cxb {

class Trainer;

// The settings dialog (TForm6) as text: what its controls show and what
// they hold when OK is pressed. Texts are UTF-8.
struct SettingsValues {
    // The checked bank radio: 1 rbXiao, 2 rbKe, 3 rbHuo, 4 waijia; 0 none.
    int bankRadio = 0;
    std::string bankText; // tiku_te
    std::string beginnerCount;   // chuji
    std::string hardCount;       // nanti
    std::string hardSensitivity; // nantixishu
    // edt1 … edt6: keyPrevious, keyNext, keyAnswerA … keyAnswerD.
    std::array<std::string, 6> keys;
    std::string pauseMs;     // edt7
    std::string examSeconds; // edt8
    std::string examCount;   // edtkaoshitishu
    std::int32_t backColor = 0; // edtlblbeijing, 0x00BBGGRR
    std::int32_t textColor = 0; // edtlblzhiti
    int textSize = 0;           // cbzihao: 0 标准, 1 大, 2 特大 (TextSize)
    int mastery = 0;            // spnmastery: right answers in a row out of the review, 0 never (MasterySetting)
    // 智能复习 (ReviewSettingsField): 记忆保持率 in percent, 每天新题.
    int retentionPercent = 90;
    int newPerDay = 20;
};

// The control an OK was refused for.
enum class SettingsField {
    None,
    tiku_te,
    chuji,
    nanti,
    nantixishu,
    edt1,
    edt2,
    edt3,
    edt4,
    edt5,
    edt6,
    edt7,
    edt8,
    edtkaoshitishu,
};

struct SettingsOutcome {
    bool applied = false;
    SettingsField field = SettingsField::None; // the refused control
    std::string message;                       // why, for the message box
};

class SettingsModel {
public:
    // "使用建议颜色".
    static constexpr std::int32_t kSuggestedBack = 0x00CFE8CC;
    static constexpr std::int32_t kSuggestedText = 0x00000000;

    static constexpr const char* kFirstStartHint = "请选择题库！然后确定。";
    static constexpr const char* kPathTooLong =
        "外加题库的文件名太长了，请换一个短一些的名字（最多149个汉字或299个字母）。";
    static constexpr const char* kPathNotStorable = "外加题库的文件名含有无法保存的字符，请换一个名字。";

    // The opening step: what the controls show for `state`.
    static SettingsValues openingValues(const Sfile& state);

    // OK. Every field is checked first; a refused OK changes nothing. An
    // accepted one writes the settings into the state, loads the chosen
    // bank, saves the state file and applies the colours and the pause to
    // the window. A bank that cannot be loaded is reported by the trainer
    // and does not stop OK.
    static SettingsOutcome apply(Trainer& trainer, const SettingsValues& values);

    // The extra banks offered in tiku_te: the names of the "*.tk" files in
    // `folder` ("" = the working directory), in the order the directory
    // lists them.
    static std::vector<std::string> extraBanks(const std::string& folder);

    // The integer in a number field: optional sign and decimal digits
    // within the 32-bit range. false for anything else, empty included.
    static bool parseInteger(const std::string& text, std::int32_t& out);
};

} // namespace cxb
