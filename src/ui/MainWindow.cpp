#include "ui/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSizeGrip>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>
#include <utility>

#include "engine/CommandKeys.h"
#include "engine/TextSize.h"
#include "engine/Texts.h"
#include "ui/AnalysisDialog.h"
#include "ui/BankLinkOpener.h"
#include "ui/ChapterDialog.h"
#include "ui/DesignScale.h"
#include "ui/DialogFit.h"
#include "ui/Dialogs.h"
#include "ui/ExportDialog.h"
#include "ui/FontWarmup.h"
#include "ui/ImageFiles.h"
#include "ui/KeyMap.h"
#include "ui/KeyboardAccess.h"
#include "ui/PictureButtonAccessible.h"
#include "ui/ScreenReaderNames.h"
#include "ui/PickerWidget.h"
#include "ui/QuestionPanel.h"
#include "ui/SettingsDialog.h"
#include "ui/SidePanels.h"
#include "ui/SkinDialog.h"
#include "ui/HistoryDialog.h"
#include "ui/ToolStrip.h"

namespace cxb {

MainWindow::MainWindow(const QString& folder) : folder_(folder) {
    setObjectName("TForm1");
    setWindowFlags(Qt::FramelessWindowHint | Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(kDesignWidth, kDesignHeight);
    // paintEvent covers every pixel (the tiled background or the window
    // colour), so Qt need not clear the window first.
    setAttribute(Qt::WA_OpaquePaintEvent);

    adapter_ = new WindowAdapter(*this);
    trainer_ = std::make_unique<Trainer>(*adapter_, folder.toStdString());
    // Construction: state, colours, pause and bank come first; the controls
    // that show the bank's picture are built right after and shown from it.
    trainer_->construct();
    build();
    // Every control as designed, to be drawn at the scale the screen calls for.
    design_ = std::make_unique<DesignScale>(*this);
    grip_ = new QSizeGrip(this);
    grip_->setObjectName("sizeGrip");
    grip_->setAccessibleName(QStringLiteral("调整窗口大小"));
    grip_->setToolTip(QStringLiteral("拖动以放大或缩小窗口"));
    grip_->resize(16, 16);
    applyTextSize();
    trainer_->showBankInfo();
    connectTimers();
    qApp->installEventFilter(this);

    trainer_->formCreate();
    updateMask();
    if (screen()) move(screen()->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::build() {
    FontWarmup::finish(); // the first widgets with text come next
    PictureButtonAccessible::install();
    toolStrip_ = new ToolStrip(*this);
    questionPanel_ = new QuestionPanel(*this);
    sidePanels_ = new SidePanels(*this);
    KeyboardAccess::bind(this);
    ScreenReaderNames::apply(this);
}

void MainWindow::connectTimers() {
    Trainer& t = *trainer_;
    auto on = [this](Tmr timer, auto handler) { connect(adapter_->timer(timer), &QTimer::timeout, this, handler); };
    adapter_->timer(Tmr::TimerNext)->setInterval(std::max(0, t.s.state->pauseMs));
    on(Tmr::TimerNext, [&t] { t.nav.TimerNextTimer(); });
    on(Tmr::tmrmouse, [&t] { t.nav.tmrmouseTimer(); });
    on(Tmr::tmrjiange, [&t] { t.tmrjiangeTimer(); });
    on(Tmr::tmrKAOSHI, [&t] { t.nav.tmrKAOSHITimer(); });
    on(Tmr::tmruptime, [&t] { t.exam.tmruptimeTimer(); });
    on(Tmr::INIT2, [this] {
        adapter_->stopTimer(Tmr::INIT2);
        sidePanels_->loadInformationPage();
    });
    on(Tmr::tmrtimpifu, [this] {
        adapter_->stopTimer(Tmr::tmrtimpifu);
        update();
    });
    adapter_->startTimer(Tmr::INIT2, 1000);
    adapter_->startTimer(Tmr::tmrtimpifu, 2);
}

void MainWindow::setCaption(const QString& text) {
    setWindowTitle(text);
}

void MainWindow::showQuestionView(const QuestionView& view) {
    questionPanel_->render(view);
    ScreenReaderNames::describe(this, view);
}

void MainWindow::repaintPicker() {
    questionPanel_->picker()->updateSize();
    questionPanel_->picker()->update();
}

void MainWindow::scrollPicker(int y) {
    const int at = static_cast<int>(std::lround(std::max(0, y) * scale()));
    questionPanel_->pickerBox()->verticalScrollBar()->setValue(at);
}

bool MainWindow::loadBackground(int mode, const QString& nativePath) {
    QPixmap pixmap = ImageFiles::load(nativePath, devicePixelRatioF());
    if (pixmap.isNull()) return false;
    backgrounds_[static_cast<std::size_t>(mode)] = pixmap;
    return true;
}

void MainWindow::showBackground(int mode) {
    background_ = mode;
    update();
}

void MainWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPixmap& tile = background_ >= 1 && background_ <= 4 ? backgrounds_[static_cast<std::size_t>(background_)] : QPixmap();
    if (!tile.isNull())
        p.drawTiledPixmap(rect(), tile);
    else
        p.fillRect(rect(), palette().window());
}

void MainWindow::openSettings(bool firstStart) {
    if (settingsOverride) {
        settingsOverride(firstStart);
        return;
    }
    SettingsDialog dialog(*this, firstStart);
    dialog.run();
    applyTextSize();
}

void MainWindow::openAnalysis(const AnalysisView& view) {
    // Built at the first analysis, not at start-up.
    if (!analysis_) analysis_ = new AnalysisDialog(this);
    analysis_->showAnalysis(view);
}

void MainWindow::SETClick() {
    openSettings(false);
    trainer_->showBankInfo();
    trainer_->modes.Button2Click();
}

void MainWindow::Button5Click() {
    trainer_->s.hidePanels();
    sidePanels_->loadInformationPage(); // the keys may have changed since
    adapter_->setVisible(Ctl::pnlIE, true);
}

void MainWindow::btn6Click() {
    // A fresh dialog for each command; the one of the last command goes.
    delete history_;
    history_ = new HistoryDialog(*this);
    history_->fillHistoryList();
}

ExportDialog& MainWindow::exportDialog() {
    if (!export_) export_ = new ExportDialog(*this);
    return *export_;
}

void MainWindow::PifuClick() {
    SkinDialog dialog(*this);
    dialog.exec();
}

void MainWindow::BitBtn9Click() {
    auto* toggle = static_cast<QPushButton*>(adapter_->control(Ctl::BitBtn9));
    shortWindow_ = !shortWindow_;
    toggle->setText(shortWindow_ ? QStringLiteral("显示选题区") : QStringLiteral("隐藏选题区"));
    // The window keeps its scale and is centred again at its new height.
    const int designHeight = shortWindow_ ? WindowFit::kShortHeight : WindowFit::kPickerHeight;
    const ScreenRect r = WindowFit::placed(
        {availableArea().x(), availableArea().y(), availableArea().width(), availableArea().height()}, scale(),
        designHeight);
    setGeometry(r.x, r.y, r.width, r.height);
}

void MainWindow::openChapters() {
    ChapterDialog dialog(*this);
    dialog.run();
}

void MainWindow::img2Click() { BankLinkOpener::open(this, trainer_->bankLink(), folder_); }

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Only the first showing fits the window: a window restored from the
    // task bar comes back as it was.
    if (shownOnce_) return;
    shownOnce_ = true;
    fitToArea(availableArea());
}

QRect MainWindow::availableArea() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, kDesignWidth, kDesignHeight);
}

void MainWindow::fitToArea(const QRect& area) {
    const WindowPlan plan = fit_.firstShow({area.x(), area.y(), area.width(), area.height()});
    shortWindow_ = plan.shortWindow;
    applyScale(plan.scale);
    setGeometry(plan.frame.x, plan.frame.y, plan.frame.width, plan.frame.height);
    static_cast<QPushButton*>(adapter_->control(Ctl::BitBtn9))
        ->setText(shortWindow_ ? QStringLiteral("显示选题区") : QStringLiteral("隐藏选题区"));
    if (plan.warn) Dialogs::message(this, QString::fromUtf8(texts::withSupport(texts::kSmallScreen).c_str()));
}

double MainWindow::scale() const { return design_ ? design_->scale() : 1.0; }

void MainWindow::applyScale(double scale) {
    design_->apply(scale);
    questionPanel_->picker()->setScale(scale);
    adapter_->refitImages();
}

void MainWindow::applyTextSize() {
    const double factor = TextSize::factor(TextSize::of(*trainer_->s.state));
    static const char* const kTextControls[] = {"Memo1", "Label4", "mmo1", "chkA", "chkB", "chkC",
                                                "chkD", "chkE", "chkF", "chkG", "chkH"};
    for (const char* name : kTextControls)
        if (auto* w = findChild<QWidget*>(QLatin1String(name))) design_->setTextFactor(w, factor);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A window the learner made larger or smaller shows the whole design
    // at the scale that fits it.
    if (design_) {
        const int designHeight = shortWindow_ ? WindowFit::kShortHeight : WindowFit::kPickerHeight;
        const double s = WindowFit::scaleFor(width(), height(), kDesignWidth, designHeight);
        if (std::abs(s - scale()) > 0.002) applyScale(s);
    }
    if (grip_) {
        grip_->move(width() - grip_->width() - 10, height() - grip_->height() - 10);
        grip_->raise();
    }
    updateMask();
}

void MainWindow::updateMask() {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return; // no window shapes there
    QPainterPath path;
    const double radius = 25 * scale(); // the design's 50-pixel corner ellipses
    path.addRoundedRect(QRectF(rect()), radius, radius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (windowHandle()) windowHandle()->startSystemMove();
    QWidget::mousePressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    trainer_->closeQuery();
    event->accept();
}

bool MainWindow::editableHasFocus() const {
    QWidget* f = QApplication::focusWidget();
    if (!f) return false;
    if (auto* line = qobject_cast<QLineEdit*>(f)) return !line->isReadOnly();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(f)) return !plain->isReadOnly();
    if (auto* text = qobject_cast<QTextEdit*>(f)) return !text->isReadOnly();
    if (auto* combo = qobject_cast<QComboBox*>(f)) return combo->isEditable();
    return qobject_cast<QAbstractSpinBox*>(f) != nullptr;
}

void MainWindow::noteChord(QObject* watched, const QKeyEvent* key) {
    // A key pressed with Ctrl or Alt is a shortcut's (Ctrl+D stars), also
    // when the modifier is let go before the key itself. A shortcut takes the
    // press before it is delivered, so its override is noted too.
    auto* w = qobject_cast<QWidget*>(watched);
    if (w && w->window() == this && (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        chordKeys_.insert(key->key());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        // Each of the program's dialogs is put wholly on the screen as it
        // opens, over the window that opened it.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && w != this && w->isWindow() && DialogFit::isOurs(*w)) {
            const QWidget* owner = w->parentWidget() ? w->parentWidget()->window() : this;
            const QScreen* s = owner->screen() ? owner->screen() : screen();
            if (s) DialogFit::fit(*w, owner->frameGeometry(), s->availableGeometry());
        }
    } else if (event->type() == QEvent::ShortcutOverride) {
        noteChord(watched, static_cast<QKeyEvent*>(event));
    } else if (event->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (w && w->window() == this && KeyMap::virtualKey(*key) == KeyRules::kEnter) enterPressed_ = true;
        noteChord(watched, key);
    } else if (event->type() == QEvent::KeyRelease) {
        auto* w = qobject_cast<QWidget*>(watched);
        // Key preview: the window sees every key released in it, whatever
        // has the focus. A key that does something is taken here, so it is
        // not seen again as it travels up to the parents.
        auto* key = static_cast<QKeyEvent*>(event);
        if (w && w->window() == this && !key->isAutoRepeat()) {
            // The release of a shortcut's key does nothing more, here or
            // in the parents it would travel up to.
            if (chordKeys_.remove(key->key())) return true;
            const int vk = KeyMap::virtualKey(*key);
            // An Enter pressed in a message box that closed on it is
            // released here: only an Enter pressed here completes.
            const bool pressedHere = vk != KeyRules::kEnter || std::exchange(enterPressed_, false);
            // A window shortcut has done its work on the press.
            const bool shortcut = CommandKeys::isShortcut("TForm1", KeyboardAccess::keyText(*key).toStdString());
            bool active = questionPanel_->isVisible() && !editableHasFocus();
            if (pressedHere && !shortcut && trainer_->keys.FormKeyUp(vk, active, questionPanel_->shownPanel()))
                return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        // The application-wide filter sees each click on the bank picture
        // and the author label once; only the left button opens the link.
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            (w->objectName() == "img2" || w->objectName() == "lbltikuzhuozhe") && w->window() == this)
            img2Click();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace cxb
