#include "ui/DialogFit.h"

#include <QGuiApplication>
#include <QLayout>
#include <QWidget>
#include <cmath>

#include "engine/WindowFit.h"
#include "ui/DesignScale.h"

namespace cxb {

namespace {

// The design of a dialog placed by hand, taken at its first showing and
// kept with it.
class DesignHolder : public QObject {
public:
    DesignHolder(QWidget& dialog, QSize design) : QObject(&dialog), scale(dialog), designSize(design) {
        setObjectName(QStringLiteral("cxbDesign"));
    }
    DesignScale scale;
    QSize designSize;
};

ScreenRect screenRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

} // namespace

bool DialogFit::isOurs(const QWidget& w) {
    return QByteArray(w.metaObject()->className()).startsWith("cxb::");
}

void DialogFit::fit(QWidget& dialog, const QRect& owner, const QRect& area) {
    // The window frame around the dialog: known once it was shown, else
    // what a usual title bar and border take (none on the offscreen platform).
    QSize frame = dialog.frameGeometry().size() - dialog.geometry().size();
    if (frame.isEmpty() && QGuiApplication::platformName() != QLatin1String("offscreen")) frame = QSize(8, 38);

    auto* holder = dialog.findChild<DesignHolder*>(QStringLiteral("cxbDesign"), Qt::FindDirectChildrenOnly);
    if (!holder && !dialog.layout()) holder = new DesignHolder(dialog, dialog.size());
    const QSize design = holder ? holder->designSize : dialog.size();
    const WindowPlan plan = WindowFit::dialog(screenRect(area), design.width(), design.height(), screenRect(owner),
                                              frame.width(), frame.height());
    if (holder && std::abs(holder->scale.scale() - plan.scale) > 1e-9) holder->scale.apply(plan.scale);
    dialog.resize(plan.frame.width, plan.frame.height);
    dialog.move(plan.frame.x, plan.frame.y);
}

} // namespace cxb
