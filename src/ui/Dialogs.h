#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace cxb {

// Every message box and file dialog of the program goes through here, so
// tests can answer them without a modal window.
class Dialogs {
public:
    static void message(QWidget* parent, const QString& text);
    // A yes/no question; true on yes.
    static bool question(QWidget* parent, const QString& text);
    // A message with 重试 and 放弃; true on 重试.
    static bool retry(QWidget* parent, const QString& text);
    // Returns the chosen file, or an empty string when cancelled.
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& suggested,
                                const QString& filter);

    // Test seam: while set, message() calls this instead of showing a box.
    static void setMessageHandler(std::function<void(const QString&)> handler);
    // Test seam: while set, question() returns what this returns.
    static void setQuestionHandler(std::function<bool(const QString&)> handler);
    // Test seam: while set, retry() returns what this returns. Without it, a
    // message handler that is set takes the text, and the answer is 放弃.
    static void setRetryHandler(std::function<bool(const QString&)> handler);
    // Test seam: while set, saveFileName() returns what this returns.
    static void setSaveFileHandler(std::function<QString(const QString& suggested)> handler);
};

} // namespace cxb
