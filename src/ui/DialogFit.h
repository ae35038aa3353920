#pragma once
#include <QRect>

class QWidget;

namespace cxb {

// Puts one of the program's dialogs wholly on the screen area before it
// shows: a dialog placed by hand is drawn smaller as a whole when the area
// is too small for its design (never larger), one laid out by Qt is given
// a size that fits; then it is centred over `owner` and kept on the area.
class DialogFit {
public:
    static void fit(QWidget& dialog, const QRect& owner, const QRect& area);
    // Whether `w` is a window of this program's own to fit (not one of
    // Qt's standard dialogs, which size themselves).
    static bool isOurs(const QWidget& w);
};

} // namespace cxb
