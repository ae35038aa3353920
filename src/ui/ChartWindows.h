#pragma once
#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace cxb {

struct BankProgress;
struct ScoreTrend;

// Opens the chart views "成绩走势" and "学习进度". They live in the module
// cxb_charts beside the program, loaded the first time a chart opens.
class ChartWindows {
public:
    static constexpr const char* kNoModule = "无法显示图表：程序目录中缺少图表模块 libcxb_charts.so。";

    // Shows the chart modally over `parent`; without the module, a message.
    static void showTrend(QWidget* parent, const ScoreTrend& trend);
    static void showProgress(QWidget* parent, const BankProgress& progress);

    // Where the module is looked for; the program's folder when empty.
    static void setModuleFolder(const QString& folder);
    // Test seam: while set, the view is handed to this instead of being
    // shown modally.
    static void setShowHandler(std::function<void(QDialog&)> handler);
};

} // namespace cxb
