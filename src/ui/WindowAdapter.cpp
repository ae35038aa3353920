#include "ui/WindowAdapter.h"

#include "ui/FittedPicture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include "ui/ColorMap.h"
#include "ui/DesignScale.h"
#include "ui/Dialogs.h"
#include "ui/ImageFiles.h"
#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

namespace cxb {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}

WindowAdapter::WindowAdapter(MainWindow& window) : QObject(&window), window_(window) {
    for (int t = 0; t <= static_cast<int>(Tmr::tmrtimpifu); ++t) {
        auto* timer = new QTimer(this);
        timers_.insert(t, timer);
    }
}

QTimer* WindowAdapter::timer(Tmr t) const { return timers_.value(static_cast<int>(t)); }

void WindowAdapter::registerControl(Ctl c, QWidget* widget) { controls_.insert(static_cast<int>(c), widget); }

void WindowAdapter::message(const std::string& text) { Dialogs::message(&window_, q(text)); }

bool WindowAdapter::retry(const std::string& text) { return Dialogs::retry(&window_, q(text)); }

void WindowAdapter::setCaption(const std::string& text) { window_.setCaption(q(text)); }

void WindowAdapter::setVisible(Ctl c, bool visible) {
    if (QWidget* w = control(c)) w->setVisible(visible);
}

void WindowAdapter::setText(Ctl c, const std::string& text) {
    QWidget* w = control(c);
    if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(q(text));
        // A named label (the time left, the score) reads its text as the
        // description of its name.
        if (!label->accessibleName().isEmpty()) label->setAccessibleDescription(q(text));
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) plain->setPlainText(q(text));
    else if (auto* edit = qobject_cast<QTextEdit*>(w)) edit->setPlainText(q(text));
    else if (auto* line = qobject_cast<QLineEdit*>(w)) line->setText(q(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(q(text));
}

void WindowAdapter::setChecked(Ctl c, bool checked) {
    if (auto* box = qobject_cast<QAbstractButton*>(control(c))) box->setChecked(checked);
}

void WindowAdapter::setImage(Ctl c, const std::string& nativePath) {
    QWidget* w = control(c);
    QString path = q(nativePath);
    bool ok = true;
    if (auto* button = qobject_cast<PictureButton*>(w)) {
        ok = button->loadPicture(path);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        // The judgement mark is set again with every question shown: a label
        // that already shows that file keeps it, as the picture buttons do.
        if (!path.isEmpty() && labelFiles_.value(static_cast<int>(c)) == path) return;
        QPixmap pixmap = ImageFiles::load(path, DesignScale::pixelRatio(label));
        ok = !pixmap.isNull();
        if (ok) {
            if (auto* fitted = qobject_cast<FittedPicture*>(label))
                fitted->setPicture(pixmap);
            else
                label->setPixmap(ImageFiles::fitted(pixmap, label->size(), label->devicePixelRatioF()));
            labelFiles_.insert(static_cast<int>(c), path);
        } else {
            if (auto* fitted = qobject_cast<FittedPicture*>(label))
                fitted->clearPicture();
            else
                label->clear();
            labelFiles_.remove(static_cast<int>(c));
        }
        if (c == Ctl::img2) return; // a bank without a picture is fine
    }
    // The bank browser's picture is reported every time one fails to load;
    // the others once each, and a button keeps its old picture.
    if (!ok && (c == Ctl::img1 || !reportedPictures_.contains(static_cast<int>(c)))) {
        reportedPictures_.insert(static_cast<int>(c));
        Dialogs::message(&window_, QStringLiteral("无法加载图片：%1").arg(path));
    }
}

void WindowAdapter::refitImages() {
    const QHash<int, QString> shown = labelFiles_;
    labelFiles_.clear();
    for (auto it = shown.begin(); it != shown.end(); ++it) setImage(static_cast<Ctl>(it.key()), it.value().toStdString());
}

void WindowAdapter::startTimer(Tmr t, int intervalMs) { timer(t)->start(std::max(0, intervalMs)); }

void WindowAdapter::stopTimer(Tmr t) { timer(t)->stop(); }

void WindowAdapter::setTimerInterval(Tmr t, int intervalMs) { timer(t)->setInterval(std::max(0, intervalMs)); }

void WindowAdapter::applyTextColours(std::int32_t backColor, std::int32_t textColor) {
    QWidget* memo = control(Ctl::Memo1);
    if (!memo) return;
    QPalette pal = memo->palette();
    pal.setColor(QPalette::Base, toQColor(static_cast<std::uint32_t>(backColor)));
    pal.setColor(QPalette::Text, toQColor(static_cast<std::uint32_t>(textColor)));
    memo->setPalette(pal);
}

void WindowAdapter::showQuestionView(const QuestionView& v) { window_.showQuestionView(v); }

void WindowAdapter::pickerChanged() { window_.repaintPicker(); }

void WindowAdapter::scrollPicker(int y) { window_.scrollPicker(y); }

bool WindowAdapter::loadBackground(int mode, const std::string& nativePath) {
    return window_.loadBackground(mode, q(nativePath));
}

void WindowAdapter::showBackground(int mode) { window_.showBackground(mode); }

void WindowAdapter::setRows(Ctl list, const std::vector<QuestionRow>& rows) {
    auto* view = qobject_cast<QTreeWidget*>(control(list));
    if (!view) return;
    view->setUpdatesEnabled(false);
    view->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<int>(rows.size()));
    bool progress = false;
    for (const auto& r : rows) {
        const QString text = q(r.text);
        QStringList cells{q(r.id), QString(text).replace("\r\n", " "), q(r.answer),
                          q(r.rightCount), q(r.wrongCount), q(r.answerCount)};
        if (!r.progress.empty()) {
            cells << q(r.progress);
            progress = true;
        }
        auto* item = new QTreeWidgetItem(cells);
        item->setToolTip(1, QString(text).replace("\r\n", "\n")); // the whole question, options on their lines
        items.append(item);
    }
    view->addTopLevelItems(items);
    if (view->columnCount() > 6) view->setColumnHidden(6, !progress);
    view->setUpdatesEnabled(true);
}

void WindowAdapter::openSettings(bool firstStart) { window_.openSettings(firstStart); }

void WindowAdapter::playSound(const std::string& nativePath) {
    QString path = q(nativePath);
    if (!path.endsWith(".wav", Qt::CaseInsensitive) || !QFileInfo(path).isFile()) {
        QApplication::beep();
        return;
    }
    QObject* sound = soundEffect();
    if (!sound) {
        QApplication::beep();
        return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    if (sound->property("source").toUrl() != url) sound->setProperty("source", url);
    QMetaObject::invokeMethod(sound, "stop"); // a new sound replaces one still playing
    QMetaObject::invokeMethod(sound, "play");
}

QObject* WindowAdapter::soundEffect() {
    if (!soundLoaded_) {
        soundLoaded_ = true;
        using Make = QObject* (*)(QObject*);
        auto make = reinterpret_cast<Make>(
            QLibrary::resolve(QCoreApplication::applicationDirPath() + QStringLiteral("/cxb_sound"), "cxbMakeSoundEffect"));
        if (make) sound_ = make(this);
    }
    return sound_;
}

} // namespace cxb

namespace cxb {
void WindowAdapter::openAnalysis(const AnalysisView& view) { window_.openAnalysis(view); }
} // namespace cxb
