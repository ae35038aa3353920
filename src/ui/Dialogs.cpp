#include "ui/Dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace cxb {
namespace {
std::function<void(const QString&)>& messageHandler() {
    static std::function<void(const QString&)> h;
    return h;
}
std::function<QString(const QString&)>& saveHandler() {
    static std::function<QString(const QString&)> h;
    return h;
}
} // namespace

void Dialogs::setMessageHandler(std::function<void(const QString&)> handler) { messageHandler() = std::move(handler); }
void Dialogs::setSaveFileHandler(std::function<QString(const QString&)> handler) { saveHandler() = std::move(handler); }

void Dialogs::message(QWidget* parent, const QString& text) {
    if (messageHandler()) {
        messageHandler()(text);
        return;
    }
    QMessageBox box(QMessageBox::Information, QStringLiteral("驰学宝"), text, QMessageBox::Ok, parent);
    box.exec();
}

QString Dialogs::saveFileName(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter) {
    if (saveHandler()) return saveHandler()(suggested);
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
}

} // namespace cxb
