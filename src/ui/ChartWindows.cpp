#include "ui/ChartWindows.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLibrary>
#include <memory>

#include "ui/Dialogs.h"

namespace cxb {
namespace {

QString& moduleFolder() {
    static QString folder;
    return folder;
}

std::function<void(QDialog&)>& showHandler() {
    static std::function<void(QDialog&)> h;
    return h;
}

QFunctionPointer resolve(const char* symbol) {
    const QString folder = moduleFolder().isEmpty() ? QCoreApplication::applicationDirPath() : moduleFolder();
    return QLibrary::resolve(folder + QStringLiteral("/cxb_charts"), symbol);
}

void present(QWidget* parent, QDialog* made) {
    if (!made) {
        Dialogs::message(parent, QString::fromUtf8(ChartWindows::kNoModule));
        return;
    }
    std::unique_ptr<QDialog> view(made);
    if (showHandler()) {
        showHandler()(*view);
        return;
    }
    view->exec();
}

} // namespace

void ChartWindows::setModuleFolder(const QString& folder) { moduleFolder() = folder; }
void ChartWindows::setShowHandler(std::function<void(QDialog&)> handler) { showHandler() = std::move(handler); }

void ChartWindows::showTrend(QWidget* parent, const ScoreTrend& trend) {
    using Make = QDialog* (*)(const ScoreTrend&, QWidget*);
    auto make = reinterpret_cast<Make>(resolve("cxbMakeTrendChart"));
    present(parent, make ? make(trend, parent) : nullptr);
}

void ChartWindows::showProgress(QWidget* parent, const BankProgress& progress) {
    using Make = QDialog* (*)(const BankProgress&, QWidget*);
    auto make = reinterpret_cast<Make>(resolve("cxbMakeProgressView"));
    present(parent, make ? make(progress, parent) : nullptr);
}

} // namespace cxb
