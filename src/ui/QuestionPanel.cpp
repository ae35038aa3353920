#include "ui/QuestionPanel.h"

#include <QKeyEvent>

#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <QWindow>
#include <cmath>

#include "engine/QuestionView.h"
#include "engine/StarToggle.h"
#include "ui/ColorMap.h"
#include "ui/DesignScale.h"
#include "ui/FittedPicture.h"
#include "ui/ImageFiles.h"
#include "ui/MainWindow.h"
#include "ui/ModesRow.h"
#include "ui/PickerWidget.h"
#include "ui/PictureButton.h"

namespace cxb {

namespace {
QLabel* label(QWidget* parent, const char* name, QRect geometry, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}
} // namespace

QuestionPanel::QuestionPanel(MainWindow& window) : QWidget(&window), window_(window) {
    setObjectName("pnl2");
    setGeometry(0, 100, MainWindow::kDesignWidth, MainWindow::kDesignHeight - 100);
    Trainer& t = window.trainer();
    WindowAdapter& a = window.adapter();
    const Sfile& st = *t.s.state;

    a.registerControl(Ctl::pnl2, this);
    a.registerControl(Ctl::Label7, label(this, "Label7", {24, 6, 440, 22}));
    // The star of the question on show, at the right end of the hint line.
    star_ = new QPushButton(QString::fromUtf8(StarToggle::caption(false)), this);
    star_->setObjectName("btnxingbiao");
    star_->setCheckable(true);
    star_->setGeometry(470, 3, 114, 27);
    star_->setEnabled(false);
    a.registerControl(Ctl::btnxingbiao, star_);
    connect(star_, &QPushButton::clicked, this, [&t] { t.star.toggleStar(); });
    a.registerControl(Ctl::Label2, label(this, "Label2", {600, 6, 150, 22}));
    a.registerControl(Ctl::Label3, label(this, "Label3", {760, 6, 100, 22}));
    a.registerControl(Ctl::lbljiazai, label(this, "lbljiazai", {870, 6, 190, 22}));

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName("Memo1");
    memo_->setReadOnly(true);
    memo_->setGeometry(24, 32, 560, 230);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setTabChangesFocus(true);
    QFont font = memo_->font();
    font.setPointSize(14);
    memo_->setFont(font);
    QPalette pal = memo_->palette();
    pal.setColor(QPalette::Base, toQColor(static_cast<std::uint32_t>(st.backColor)));
    pal.setColor(QPalette::Text, toQColor(static_cast<std::uint32_t>(st.textColor)));
    memo_->setPalette(pal);
    a.registerControl(Ctl::Memo1, memo_);

    pictureBox_ = new QScrollArea(this);
    pictureBox_->setObjectName("ScrollBox2");
    pictureBox_->setGeometry(600, 32, 460, 300);
    pictureBox_->setAlignment(Qt::AlignCenter);
    // The picture fits the box, so the box never needs to scroll.
    pictureBox_->setWidgetResizable(true);
    pictureBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pictureBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    picture_ = new FittedPicture;
    picture_->setObjectName("ImagIE");
    pictureBox_->setWidget(picture_);
    pictureBox_->hide();
    a.registerControl(Ctl::ScrollBox2, pictureBox_);

    buildAnswerPanels();

    judgement_ = new QPlainTextEdit(this);
    judgement_->setObjectName("Label4");
    judgement_->setReadOnly(true);
    judgement_->setTabChangesFocus(true);
    judgement_->setGeometry(24, 356, 500, 110);
    judgement_->hide();
    a.registerControl(Ctl::Label4, judgement_);
    mark_ = label(this, "Image2", {532, 380, 56, 56});
    mark_->setAlignment(Qt::AlignCenter);
    mark_->hide();
    a.registerControl(Ctl::Image2, mark_);
    // Under the judgement, clear of the answer controls and the commands.
    comeBack_ = label(this, "lblfuxi", {24, 470, 500, 22});
    comeBack_->hide();

    a.registerControl(Ctl::Label5, label(this, "Label5", {600, 340, 220, 22}));
    a.registerControl(Ctl::Label6, label(this, "Label6", {600, 364, 220, 22}));
    auto* remaining = label(this, "lbl1", {600, 388, 460, 22}, QStringLiteral("还有:"));
    remaining->hide();
    a.registerControl(Ctl::lbl1, remaining);
    auto* handIn = new QPushButton(QStringLiteral("交卷"), this);
    handIn->setObjectName("JIAOJUAN");
    handIn->setGeometry(960, 340, 100, 40);
    handIn->hide();
    a.registerControl(Ctl::JIAOJUAN, handIn);
    connect(handIn, &QPushButton::clicked, this, [&t] { t.exam.JIAOJUANClick(); });

    showAnswer_ = new QCheckBox(QStringLiteral("是否显示答案"), this);
    showAnswer_->setObjectName("CheckBox1");
    showAnswer_->setGeometry(600, 416, 140, 22);
    showAnswer_->setChecked(true);
    a.registerControl(Ctl::CheckBox1, showAnswer_);
    connect(showAnswer_, &QCheckBox::toggled, this, [&t](bool on) { t.nav.setShowAnswer(on); });
    auto* autoNext = new QCheckBox(QStringLiteral("自动进入下一题"), this);
    autoNext->setObjectName("CheckBox2");
    autoNext->setGeometry(750, 416, 150, 22);
    autoNext->setChecked(true);
    a.registerControl(Ctl::CheckBox2, autoNext);
    connect(autoNext, &QCheckBox::toggled, this, [&t](bool on) { t.nav.setAutoNext(on); });
    auto* sound = new QCheckBox(QStringLiteral("使用声音特效"), this);
    sound->setObjectName("chkshengyintexiao");
    sound->setGeometry(910, 416, 150, 22);
    sound->setChecked(true);
    a.registerControl(Ctl::chkshengyintexiao, sound);
    connect(sound, &QCheckBox::toggled, this, [&t](bool on) { t.s.soundOn = on; });

    auto button = [this](const char* name, const QString& caption, QRect geometry) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(geometry);
        return b;
    };
    connect(button("UP", QStringLiteral("上一题"), {600, 450, 110, 36}), &QPushButton::clicked, this,
            [&t] { t.nav.UPClick(); });
    connect(button("DO", QStringLiteral("下一题"), {720, 450, 110, 36}), &QPushButton::clicked, this,
            [&t] { t.nav.DOClick(); });
    connect(button("Button2", QStringLiteral("重新出题"), {840, 450, 110, 36}), &QPushButton::clicked, this,
            [&t] { t.modes.Button2Click(); });
    auto* pickerToggle = button("BitBtn9", QStringLiteral("隐藏选题区"), {960, 450, 100, 36});
    a.registerControl(Ctl::BitBtn9, pickerToggle);
    connect(pickerToggle, &QPushButton::clicked, this, [this] { window_.BitBtn9Click(); });
    new ModesRow(window_, this);

    pickerBox_ = new QScrollArea(this);
    pickerBox_->setObjectName("ScrollBox1");
    pickerBox_->setGeometry(93, 540, 900, 125);
    pickerBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pickerBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    picker_ = new PickerWidget(t.s, nullptr);
    picker_->setContentsMargins(0, 5, 0, 0);
    pickerBox_->setWidget(picker_);
    pickerBox_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Arrow keys move between questions and the wheel scrolls a row a notch:
    // the scroll area's own handling of both is replaced.
    pickerBox_->installEventFilter(this);
    pickerBox_->viewport()->installEventFilter(this);
    connect(picker_, &PickerWidget::hovered, this, [this, &t](int x, int y) {
        t.nav.mage1MouseMove(x, y);
        pickerBox_->setFocus(); // so the wheel scrolls it
    });
    connect(picker_, &PickerWidget::clicked, this, [&t] { t.nav.mage1Click(); });
    setFocusOrder();
}

void QuestionPanel::setFocusOrder() {
    // Tab goes from the question to its answers, then to the judgement, the
    // commands under it, the switches and the picker.
    const char* order[] = {"Memo1",   "Image1",    "Image3",    "img3",    "img4",   "Image4", "Image5",
                           "chkA",    "chkB",      "chkC",      "chkD",    "chkE",   "chkF",   "chkG",
                           "chkH",    "btnduoxuan", "Label4",   "btnxingbiao", "JIAOJUAN", "UP",    "DO",     "Button2",
                           "BitBtn9", "btnzhangjie", "btnsuiji", "btnshoucang", "btnzhineng", "CheckBox1", "CheckBox2", "chkshengyintexiao", "ScrollBox1"};
    QWidget* previous = nullptr;
    for (const char* name : order) {
        QWidget* w = findChild<QWidget*>(name);
        if (!w) continue;
        if (previous) setTabOrder(previous, w);
        previous = w;
    }
}

void QuestionPanel::buildAnswerPanels() {
    Trainer& t = window_.trainer();
    WindowAdapter& a = window_.adapter();
    const QRect area(24, 270, 560, 80);

    single_ = new QWidget(this);
    single_->setObjectName("PaSuanZe");
    single_->setGeometry(area);
    a.registerControl(Ctl::PaSuanZe, single_);
    trueFalse_ = new QWidget(this);
    trueFalse_->setObjectName("PaPanDuan");
    trueFalse_->setGeometry(area);
    a.registerControl(Ctl::PaPanDuan, trueFalse_);
    multi_ = new QWidget(this);
    multi_->setObjectName("pnlduanxuan");
    multi_->setGeometry(area);
    a.registerControl(Ctl::pnlduanxuan, multi_);

    struct AnswerDef { const char* name; Ctl control; QWidget* parent; int x; int code; };
    const AnswerDef answers[] = {
        {"Image1", Ctl::Image1, single_, 0, 1},   {"Image3", Ctl::Image3, single_, 90, 2},
        {"img3", Ctl::img3, single_, 180, 3},     {"img4", Ctl::img4, single_, 270, 4},
        {"Image4", Ctl::Image4, trueFalse_, 0, 6}, {"Image5", Ctl::Image5, trueFalse_, 90, 5},
    };
    for (const auto& d : answers) {
        auto* b = new PictureButton(d.name, d.parent, QSize(72, 72));
        b->move(d.x, 4);
        a.registerControl(d.control, b);
        Ctl c = d.control;
        int code = d.code;
        connect(b, &PictureButton::moved, this, [&t, c] { t.skinButtons.mouseMove(c); });
        connect(b, &PictureButton::left, this, [&t, c] { t.skinButtons.mouseLeave(c); });
        connect(b, &PictureButton::pressed, this, [&t, c] { t.skinButtons.mouseDown(c); });
        connect(b, &PictureButton::clicked, this, [&t, code] { t.judge.answerQuestion(code); });
    }
    static const Ctl boxes[] = {Ctl::chkA, Ctl::chkB, Ctl::chkC, Ctl::chkD, Ctl::chkE, Ctl::chkF, Ctl::chkG, Ctl::chkH};
    for (int i = 0; i < 8; ++i) {
        QString letter(QChar('A' + i));
        auto* box = new QCheckBox(letter, multi_);
        box->setObjectName("chk" + letter);
        box->setGeometry(i * 52, 8, 50, 28);
        QFont f = box->font();
        f.setPointSize(13);
        box->setFont(f);
        a.registerControl(boxes[i], box);
        int bit = 2 << i;
        connect(box, &QCheckBox::toggled, this, [&t, bit](bool on) { t.judge.multiBoxChanged(bit, on); });
    }
    auto* done = new QPushButton(QStringLiteral("完成"), multi_);
    done->setObjectName("btnduoxuan");
    done->setGeometry(430, 4, 100, 36);
    connect(done, &QPushButton::clicked, this, [&t] { t.judge.btnduoxuanClick(); });
}

void QuestionPanel::render(const QuestionView& v) {
    auto text = [this](Ctl c, const std::string& s) { window_.adapter().setText(c, s); };
    text(Ctl::Label7, v.label7);
    text(Ctl::Label2, v.label2);
    text(Ctl::Label3, v.label3);
    memo_->setPlainText(QString::fromStdString(v.memo1));
    {
        const QSignalBlocker quiet(star_);
        star_->setChecked(v.starred);
        star_->setText(QString::fromStdString(v.starCaption));
        star_->setEnabled(v.starEnabled);
    }
    showAnswer_->setVisible(v.checkBox1Visible);
    judgement_->setVisible(v.label4Visible);
    if (v.label4Visible) judgement_->setPlainText(QString::fromStdString(v.label4).replace("\r\n", "\n"));
    if (!v.image2.empty()) window_.adapter().setImage(Ctl::Image2, v.image2);
    comeBack_->setText(QString::fromStdString(v.comeBack));
    comeBack_->setVisible(!v.comeBack.empty());
    if (v.label4Visible) {
        if (v.image2Visible) mark_->show();
    } else {
        mark_->hide();
    }
    if (v.pictureVisible) {
        QString file = QString::fromStdString(v.picture);
        if (file != pictureFile_) {
            picture_->setPicture(ImageFiles::load(file, DesignScale::pixelRatio(picture_)));
            pictureFile_ = file;
        }
        pictureBox_->show();
    } else {
        pictureBox_->hide();
    }
    single_->setVisible(v.panel == AnswerPanel::Single);
    trueFalse_->setVisible(v.panel == AnswerPanel::TrueFalse);
    multi_->setVisible(v.panel == AnswerPanel::Multi);
}

bool QuestionPanel::trueFalseShown() const { return trueFalse_->isVisible(); }

AnswerPanel QuestionPanel::shownPanel() const {
    if (!trueFalse_->isHidden()) return AnswerPanel::TrueFalse;
    if (!multi_->isHidden()) return AnswerPanel::Multi;
    if (!single_->isHidden()) return AnswerPanel::Single;
    return AnswerPanel::None;
}

void QuestionPanel::mousePressEvent(QMouseEvent* event) {
    if (window_.windowHandle()) window_.windowHandle()->startSystemMove();
    event->accept();
}

bool QuestionPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pickerBox_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) return true; // the key's release moves
    } else if (watched == pickerBox_->viewport() && event->type() == QEvent::Wheel) {
        // One row of cells per notch (120 eighths of a degree); a touchpad's
        // smaller steps add up to the same.
        wheelRest_ += static_cast<QWheelEvent*>(event)->angleDelta().y();
        const int notches = wheelRest_ / 120;
        wheelRest_ -= notches * 120;
        QScrollBar* bar = pickerBox_->verticalScrollBar();
        bar->setValue(bar->value() - static_cast<int>(std::lround(notches * PickerCanvas::kCellHeight * picker_->scale())));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace cxb
