#pragma once
#include <QString>
#include <functional>
#include <string>

class QUrl;
class QWidget;

namespace cxb {

// Acts on the bank's link when the bank picture or the maker label is
// clicked: a web page opens in the browser, a document after the learner's
// yes, anything else not at all, with the reason (BankLinkRule decides).
class BankLinkOpener {
public:
    // `folder` is the program's folder ("" = the working directory).
    static void open(QWidget* parent, const std::string& link, const QString& folder);

    // Test seam: while set, called instead of the system's opener.
    static void setOpenHandler(std::function<void(const QUrl&)> handler);
};

} // namespace cxb
