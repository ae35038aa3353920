#pragma once
#include <string>

// Every text the trainer shows, in UTF-8.
namespace cxb::texts {

inline constexpr const char* kVersion = "驰学宝10.1";
inline constexpr const char* kWelcome = "欢迎使用《驰学宝》";

// The second line of every file-problem message.
inline constexpr const char* kSupportLine = "如问题持续，请看 README.md 中“遇到问题”一节。";
inline std::string withSupport(const std::string& first) { return first + "\n" + kSupportLine; }

inline constexpr const char* kStateMissing = "错误代码:1,或者请以管理员身份运行；";
inline constexpr const char* kCode2 = "错误代码:2,或者请以管理员身份运行；";
inline constexpr const char* kCode3 = "错误代码:3,或者请以管理员身份运行；";
// The first line shown for a state-file save that failed with `code`: 3 when
// writing failed after the file was opened, else 2.
inline const char* stateSaveFailed(int code) { return code == 3 ? kCode3 : kCode2; }
inline constexpr const char* kBankNotStored = "错误,或者请以管理员身份运行；";
// Under a bank that could not be written at the close, and an exam whose
// state file could not be written: what 重试 and 放弃 do.
inline constexpr const char* kRetryBank =
    "处理好以后点“重试”再写一次；点“放弃”则这次的答题记录留在答题日志里，下次启动时恢复。";
inline constexpr const char* kRetryExam =
    "处理好以后点“重试”再写一次；点“放弃”则这次考试留在答题日志里，下次成功保存时一起写入。";
// After a run that ended without its close, once the journal's answers are back.
inline std::string recovered(int answers) {
    return "上次没有正常关闭，已恢复 " + std::to_string(answers) + " 次答题记录";
}
inline constexpr const char* kSkinError = "加载皮肤出错！,或者请以管理员身份运行；";
// What to do when the state file was missing and has just been made.
inline constexpr const char* kStateMade = "程序已按默认设置新建了这个文件，请在接下来的设置窗口中选择题库。";
inline constexpr const char* kNoBankChosen = "（还没有选择题库）";
inline constexpr const char* kChooseBank = "请在“设置”中选择一个题库。";
inline constexpr const char* kSmallScreen = "我发现您的显示分辨率太小了，不能完全显示，建议设置的大一些；";

// Window captions (the version label follows directly).
inline constexpr const char* kTitleSunXu = "顺序练习        ";
inline constexpr const char* kTitleChuji = "初步练习     ";
inline constexpr const char* kTitleNanti = "100题考试练习     ";
inline constexpr const char* kTitleKaoshi = "模拟真实考试练习    ";
inline constexpr const char* kTitleErrors = "错误集练习    ";

inline constexpr const char* kLoading = "题库加载中……";
inline constexpr const char* kRetryWrong = "再次挑战刚刚的错题";
inline constexpr const char* kAllSolved = "错题被干掉完了，系统将从新挑选题";

// Question view.
inline constexpr const char* kIdPrefix = "本题ID：";
inline constexpr const char* kHintWrongOften = "本题是你错的较多的题";
inline constexpr const char* kHintSeldom = "本题是你答的较少的题";
inline constexpr const char* kHintExam = "点击\"本题分析\"可查看错误次数和答案";
inline constexpr const char* kYouWereWrong = "你打错了！\r\n你的答案:";
inline constexpr const char* kRightAnswerIs = "\r\n正确答案：";
inline constexpr const char* kYourAnswer = "你的答案:";
inline constexpr const char* kRight = "答对了";
inline constexpr const char* kRightNotFirst = "答对了\r\n但是我发现你第一次没答对，所以只能给你个感叹号";
inline constexpr const char* kManyWrong1 = "错误次数超过3次，请你认真想想;\r\n本题全部错误次数";
inline constexpr const char* kManyWrong2 = "次,答对次数:";
inline constexpr const char* kPictureMissing = "汗~怎么找不到图片：";
inline constexpr const char* kScore = "你的分数是:";
inline constexpr const char* kRate = "正确率为：";

// Picture files of the judgement marks.
inline constexpr const char* kMarkWrong = "bankdata\\fileclose.png";
inline constexpr const char* kMarkRight = "bankdata\\select.png";
inline constexpr const char* kMarkExclaim = "bankdata\\gantan.png";

} // namespace cxb::texts
