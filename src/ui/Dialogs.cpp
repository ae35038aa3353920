#include "ui/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace cxb {
namespace {
std::function<void(const QString&)>& messageHandler() {
    static std::function<void(const QString&)> h;
    return h;
}
std::function<bool(const QString&)>& questionHandler() {
    static std::function<bool(const QString&)> h;
    return h;
}
std::function<bool(const QString&)>& retryHandler() {
    static std::function<bool(const QString&)> h;
    return h;
}
std::function<QString(const QString&)>& saveHandler() {
    static std::function<QString(const QString&)> h;
    return h;
}
} // namespace

void Dialogs::setMessageHandler(std::function<void(const QString&)> handler) { messageHandler() = std::move(handler); }
void Dialogs::setQuestionHandler(std::function<bool(const QString&)> handler) { questionHandler() = std::move(handler); }
void Dialogs::setRetryHandler(std::function<bool(const QString&)> handler) { retryHandler() = std::move(handler); }
void Dialogs::setSaveFileHandler(std::function<QString(const QString&)> handler) { saveHandler() = std::move(handler); }

void Dialogs::message(QWidget* parent, const QString& text) {
    if (messageHandler()) {
        messageHandler()(text);
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("驰学宝"), text, QMessageBox::Ok, parent);
    box.exec();
}

bool Dialogs::question(QWidget* parent, const QString& text) {
    if (questionHandler()) return questionHandler()(text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("驰学宝"), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
    box.button(QMessageBox::No)->setText(QStringLiteral("否"));
    // No is the default: Enter alone never agrees.
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool Dialogs::retry(QWidget* parent, const QString& text) {
    if (retryHandler()) return retryHandler()(text);
    if (messageHandler()) {
        messageHandler()(text);
        return false;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("驰学宝"), text, QMessageBox::Retry | QMessageBox::Abort, parent);
    box.button(QMessageBox::Retry)->setText(QStringLiteral("重试"));
    box.button(QMessageBox::Abort)->setText(QStringLiteral("放弃"));
    box.setDefaultButton(QMessageBox::Retry);
    return box.exec() == QMessageBox::Retry;
}

QString Dialogs::saveFileName(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter) {
    if (saveHandler()) return saveHandler()(suggested);
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

} // namespace cxb
