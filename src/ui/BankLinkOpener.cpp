#include "ui/BankLinkOpener.h"

#include <QDesktopServices>
#include <QUrl>

#include "engine/BankLinkRule.h"
#include "ui/Dialogs.h"

namespace cxb {
namespace {
std::function<void(const QUrl&)>& openHandler() {
    static std::function<void(const QUrl&)> h;
    return h;
}

void openWithSystem(const QUrl& url) {
    if (openHandler()) {
        openHandler()(url);
        return;
    }
    // What the system cannot open it reports itself; nothing else happens.
    QDesktopServices::openUrl(url);
}

QString q(const std::string& utf8) { return QString::fromStdString(utf8); }
} // namespace

void BankLinkOpener::setOpenHandler(std::function<void(const QUrl&)> handler) { openHandler() = std::move(handler); }

void BankLinkOpener::open(QWidget* parent, const std::string& link, const QString& folder) {
    const std::string base = folder.toStdString();
    BankLinkDecision d = BankLinkRule::decide(link, base);
    switch (d.kind) {
    case BankLinkDecision::Kind::Nothing:
        return;
    case BankLinkDecision::Kind::Web:
        openWithSystem(QUrl(q(d.target)));
        return;
    case BankLinkDecision::Kind::Refused:
        Dialogs::message(parent, q(d.reason));
        return;
    case BankLinkDecision::Kind::Document:
        break;
    }
    if (!Dialogs::question(parent, q(BankLinkRule::question(d.target)))) return;
    // The file may have changed while the question was open.
    BankLinkDecision now = BankLinkRule::decide(link, base);
    if (now.kind == BankLinkDecision::Kind::Refused) {
        Dialogs::message(parent, q(now.reason));
        return;
    }
    if (now.kind == BankLinkDecision::Kind::Document && now.target == d.target)
        openWithSystem(QUrl::fromLocalFile(q(now.target)));
}

} // namespace cxb
