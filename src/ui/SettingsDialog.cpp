#include "ui/SettingsDialog.h"

#include "ui/KeyboardAccess.h"
#include "ui/ScreenReaderNames.h"

#include "engine/BankCaptions.h"
#include "engine/BankEdition.h"
#include "engine/KeyNames.h"
#include "engine/MasterySetting.h"
#include "engine/TextSize.h"

#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTimer>

#include "ui/ColorMap.h"
#include "ui/Dialogs.h"
#include "ui/KeyMap.h"
#include "ui/MainWindow.h"
#include "ui/ReviewSettingsGroup.h"

namespace cxb {

namespace {

std::function<void(SettingsDialog&)>& runHandler() {
    static std::function<void(SettingsDialog&)> h;
    return h;
}

std::function<std::optional<QColor>(const QColor&)>& colourHandler() {
    static std::function<std::optional<QColor>(const QColor&)> h;
    return h;
}

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string u(const QString& s) { return s.toStdString(); }

QGroupBox* group(QWidget* parent, const char* name, const QString& title, const QRect& geometry) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, const QRect& geometry) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(geometry);
    return e;
}

} // namespace

void SettingsDialog::setRunHandler(std::function<void(SettingsDialog&)> handler) { runHandler() = std::move(handler); }

void SettingsDialog::setColourHandler(std::function<std::optional<QColor>(const QColor&)> handler) {
    colourHandler() = std::move(handler);
}

SettingsDialog::SettingsDialog(MainWindow& window, bool firstStart)
    : QDialog(&window), window_(window), firstStart_(firstStart) {
    setObjectName("TForm6");
    setWindowTitle(q(BankEdition::settingsTitle()));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(708, 672);
    build();
    showBankSizes();
    listExtraBanks();
    openingStep(SettingsModel::openingValues(*window_.trainer().s.state));
    KeyboardAccess::bind(this);
}

// The built-in banks' captions name the number of questions their files hold.
void SettingsDialog::showBankSizes() {
    const Session& s = window_.trainer().s;
    QRadioButton* radios[] = {rbXiao_, rbKe_, rbHuo_};
    for (int choice = 1; choice <= 3; ++choice) {
        auto count = BankCaptions::questionCount(s.nativePath(BankCaptions::storedPath(choice)));
        radios[choice - 1]->setText(QString::fromStdString(BankCaptions::caption(choice, count)));
    }
}

void SettingsDialog::build() {
    // 题库选择
    QGroupBox* bank = group(this, "grpTiku", QStringLiteral("题库选择"), {12, 8, 684, 158});
    rbXiao_ = new QRadioButton(QStringLiteral("小车类：725题 (准驾车型：C1、C2、C3、C4、C5)"), bank);
    rbXiao_->setObjectName("rbXiao");
    rbXiao_->setGeometry(16, 24, 650, 24);
    rbKe_ = new QRadioButton(QStringLiteral("客车类：782题(准驾车型：A1、A3、B1、N、P)"), bank);
    rbKe_->setObjectName("rbKe");
    rbKe_->setGeometry(16, 52, 650, 24);
    rbHuo_ = new QRadioButton(QStringLiteral("货车类：793题(准驾车型：A2、B2)"), bank);
    rbHuo_->setObjectName("rbHuo");
    rbHuo_->setGeometry(16, 80, 650, 24);
    waijia_ = new QRadioButton(QStringLiteral("外加题库:"), bank);
    waijia_->setObjectName("waijia");
    waijia_->setGeometry(16, 114, 100, 24);
    tiku_te_ = new QComboBox(bank);
    tiku_te_->setObjectName("tiku_te");
    tiku_te_->setEditable(true);
    tiku_te_->setInsertPolicy(QComboBox::NoInsert);
    tiku_te_->setGeometry(120, 112, 440, 28);
    // Only the learner's own change picks the extra bank; the program's
    // setting of the text or the selection does not.
    connect(tiku_te_->lineEdit(), &QLineEdit::textEdited, this, [this] { waijia_->setChecked(true); });
    connect(tiku_te_, &QComboBox::activated, this, [this] { waijia_->setChecked(true); });

    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);

    // 出题个数设置
    QGroupBox* counts = group(this, "grpCounts", QStringLiteral("出题个数设置"), {12, 174, 340, 222});
    label(counts, QStringLiteral("初步练习出题个数："), {16, 32, 180, 22});
    chuji_ = edit(counts, "chuji", {200, 28, 120, 26});
    label(counts, QStringLiteral("难题练习出题个数："), {16, 68, 180, 22});
    nanti_ = edit(counts, "nanti", {200, 64, 120, 26});
    label(counts, QStringLiteral("难题灵敏度（0~10）：\n\n0表示，只要是错过的选择\n10表示，选择错误较多的"),
          {16, 104, 180, 90});
    nantixishu_ = edit(counts, "nantixishu", {200, 100, 120, 26});
    label(counts, QStringLiteral("考试题数："), {16, 190, 180, 22});
    edtkaoshitishu_ = edit(counts, "edtkaoshitishu", {200, 186, 120, 26});

    // 时间设置
    QGroupBox* time = group(this, "grpTime", QStringLiteral("时间设置"), {356, 174, 340, 222});
    label(time, QStringLiteral("答题后停顿时间:\n(单位是:毫秒,1000毫秒=1秒)"), {16, 32, 190, 44});
    edt7_ = edit(time, "edt7", {210, 36, 110, 26});
    label(time, QStringLiteral("考试时间：\n(单位:秒)"), {16, 100, 190, 44});
    edt8_ = edit(time, "edt8", {210, 104, 110, 26});
    // 字号: the size of the question text, its options and the explanation.
    label(time, QStringLiteral("字号：\n(题目、选项和解析)"), {16, 168, 190, 44});
    cbzihao_ = new QComboBox(time);
    cbzihao_->setObjectName("cbzihao");
    for (const char* name : TextSize::names()) cbzihao_->addItem(QString::fromUtf8(name));
    cbzihao_->setGeometry(210, 172, 110, 26);

    for (QLineEdit* e : {chuji_, nanti_, nantixishu_, edtkaoshitishu_, edt7_, edt8_}) e->setValidator(digits);

    // 按键设置: each key's code, and beside it the key's name.
    QGroupBox* keys = group(this, "grpKeys", QStringLiteral("按键设置"), {12, 404, 420, 140});
    const char* keyNames[6] = {"edt1", "edt2", "edt3", "edt4", "edt5", "edt6"};
    const QString keyLabels[6] = {QStringLiteral("上一题："), QStringLiteral("下一题："), QStringLiteral("答案A/对："),
                                  QStringLiteral("答案B/错："), QStringLiteral("答案C："), QStringLiteral("答案D:")};
    for (int i = 0; i < 6; ++i) {
        const int x = i % 2 == 0 ? 16 : 216;
        const int y = 30 + (i / 2) * 36;
        label(keys, keyLabels[i], {x, y + 4, 76, 22});
        QLineEdit* e = edit(keys, keyNames[i], {x + 76, y, 44, 26});
        e->setReadOnly(true);
        e->installEventFilter(this);
        keyEdits_[static_cast<std::size_t>(i)] = e;
        QLabel* name = label(keys, QString(), {x + 124, y + 4, 76, 22});
        name->setObjectName(QStringLiteral("lblKey%1").arg(i + 1));
        connect(e, &QLineEdit::textChanged, name,
                [name](const QString& code) { name->setText(q(KeyNames::nameOfField(u(code)))); });
    }

    // 颜色设置
    QGroupBox* colours = group(this, "grpColours", QStringLiteral("颜色设置"), {436, 404, 260, 140});
    label(colours, QStringLiteral("点击文字设置颜色："), {16, 26, 228, 22});
    label(colours, QStringLiteral("背景色"), {16, 58, 50, 22});
    edtlblbeijing_ = edit(colours, "edtlblbeijing", {66, 54, 56, 26});
    label(colours, QStringLiteral("字体色"), {134, 58, 50, 22});
    edtlblzhiti_ = edit(colours, "edtlblzhiti", {184, 54, 56, 26});
    for (QLineEdit* swatch : {edtlblbeijing_, edtlblzhiti_}) {
        swatch->setReadOnly(true);
        swatch->setCursor(Qt::PointingHandCursor);
        swatch->installEventFilter(this);
    }
    btn1_ = new QPushButton(QStringLiteral("使用建议颜色"), colours);
    btn1_->setObjectName("btn1");
    btn1_->setGeometry(16, 96, 140, 30);
    btn1_->setAutoDefault(false);
    connect(btn1_, &QPushButton::clicked, this, &SettingsDialog::btn1Click);

    // 错题复习: how many right answers in a row take a question out of 曾经全部错题.
    QGroupBox* review = group(this, "grpMastery", QStringLiteral("错题复习"), {12, 552, 456, 52});
    QLabel* masteryLabel = label(review, QString::fromUtf8(MasterySetting::kLabel), {16, 24, 340, 22});
    spnmastery_ = new QSpinBox(review);
    spnmastery_->setObjectName("spnmastery");
    spnmastery_->setRange(MasterySetting::kNever, MasterySetting::kMax);
    spnmastery_->setGeometry(360, 20, 70, 26);
    spnmastery_->setAccessibleName(QString::fromUtf8(MasterySetting::kLabel));
    masteryLabel->setBuddy(spnmastery_);

    // 智能复习: retention and new questions a day, under 错题复习 and beside 确定 and 取消.
    review_ = new ReviewSettingsGroup(this);
    review_->setGeometry(12, 610, 456, 52);

    Button1_ = new QPushButton(QStringLiteral("确定"), this);
    Button1_->setObjectName("Button1");
    Button1_->setGeometry(476, 632, 100, 30);
    Button1_->setDefault(true);
    connect(Button1_, &QPushButton::clicked, this, &SettingsDialog::Button1Click);
    Button2_ = new QPushButton(QStringLiteral("取消"), this);
    Button2_->setObjectName("Button2");
    Button2_->setGeometry(596, 632, 100, 30);
    Button2_->setAutoDefault(false);
    connect(Button2_, &QPushButton::clicked, this, &QDialog::reject);
}

// FormCreate: the "*.tk" files of the program's folder, item 0 selected.
void SettingsDialog::listExtraBanks() {
    for (const std::string& name : SettingsModel::extraBanks(window_.trainer().s.folder)) tiku_te_->addItem(q(name));
    if (tiku_te_->count() > 0) tiku_te_->setCurrentIndex(0);
}

void SettingsDialog::openingStep(const SettingsValues& v) {
    QRadioButton* radios[] = {rbXiao_, rbKe_, rbHuo_, waijia_};
    if (v.bankRadio >= 1 && v.bankRadio <= 4) radios[v.bankRadio - 1]->setChecked(true);
    tiku_te_->setEditText(q(v.bankText));
    chuji_->setText(q(v.beginnerCount));
    nanti_->setText(q(v.hardCount));
    nantixishu_->setText(q(v.hardSensitivity));
    for (std::size_t i = 0; i < keyEdits_.size(); ++i) keyEdits_[i]->setText(q(v.keys[i]));
    edt7_->setText(q(v.pauseMs));
    edt8_->setText(q(v.examSeconds));
    edtkaoshitishu_->setText(q(v.examCount));
    setSwatch(edtlblbeijing_, v.backColor);
    setSwatch(edtlblzhiti_, v.textColor);
    cbzihao_->setCurrentIndex(v.textSize);
    spnmastery_->setValue(v.mastery);
    review_->showValues(v);
}

SettingsValues SettingsDialog::values() const {
    SettingsValues v;
    v.bankRadio = rbXiao_->isChecked() ? 1 : rbKe_->isChecked() ? 2 : rbHuo_->isChecked() ? 3 : waijia_->isChecked() ? 4 : 0;
    v.bankText = u(tiku_te_->currentText());
    v.beginnerCount = u(chuji_->text());
    v.hardCount = u(nanti_->text());
    v.hardSensitivity = u(nantixishu_->text());
    for (std::size_t i = 0; i < keyEdits_.size(); ++i) v.keys[i] = u(keyEdits_[i]->text());
    v.pauseMs = u(edt7_->text());
    v.examSeconds = u(edt8_->text());
    v.examCount = u(edtkaoshitishu_->text());
    v.backColor = backColour_;
    v.textColor = textColour_;
    v.textSize = cbzihao_->currentIndex();
    v.mastery = spnmastery_->value();
    review_->takeValues(v);
    return v;
}

int SettingsDialog::run() {
    if (!runHandler()) return exec();
    show();
    runHandler()(*this);
    if (isVisible()) reject(); // the handler left it open: as the close box
    return result();
}

void SettingsDialog::Button1Click() {
    SettingsOutcome out = SettingsModel::apply(window_.trainer(), values());
    if (!out.applied) {
        Dialogs::message(this, q(out.message));
        if (QWidget* w = fieldWidget(out.field)) {
            w->setFocus();
            if (auto* line = qobject_cast<QLineEdit*>(w)) line->selectAll();
        }
        return; // the dialog stays open
    }
    accept();
}

void SettingsDialog::btn1Click() {
    setSwatch(edtlblbeijing_, SettingsModel::kSuggestedBack);
    setSwatch(edtlblzhiti_, SettingsModel::kSuggestedText);
}

void SettingsDialog::edtlblbeijingClick() { pickColour(edtlblbeijing_); }

void SettingsDialog::edtlblzhitiClick() { pickColour(edtlblzhiti_); }

void SettingsDialog::pickColour(QLineEdit* swatch) {
    // The colour dialog opens with the colour it returned last, not with
    // the swatch's.
    std::optional<QColor> chosen;
    if (colourHandler()) {
        chosen = colourHandler()(lastColour_);
    } else {
        QColor c = QColorDialog::getColor(lastColour_, this);
        if (c.isValid()) chosen = c;
    }
    if (!chosen || !chosen->isValid()) return;
    lastColour_ = *chosen;
    setSwatch(swatch, fromQColor(*chosen));
}

void SettingsDialog::setSwatch(QLineEdit* swatch, std::int32_t colour) {
    (swatch == edtlblbeijing_ ? backColour_ : textColour_) = colour;
    QPalette pal = swatch->palette();
    pal.setColor(QPalette::Base, toQColor(static_cast<std::uint32_t>(colour)));
    swatch->setPalette(pal);
}

QWidget* SettingsDialog::fieldWidget(SettingsField field) const {
    switch (field) {
    case SettingsField::tiku_te: return tiku_te_;
    case SettingsField::chuji: return chuji_;
    case SettingsField::nanti: return nanti_;
    case SettingsField::nantixishu: return nantixishu_;
    case SettingsField::edt1: return keyEdits_[0];
    case SettingsField::edt2: return keyEdits_[1];
    case SettingsField::edt3: return keyEdits_[2];
    case SettingsField::edt4: return keyEdits_[3];
    case SettingsField::edt5: return keyEdits_[4];
    case SettingsField::edt6: return keyEdits_[5];
    case SettingsField::edt7: return edt7_;
    case SettingsField::edt8: return edt8_;
    case SettingsField::edtkaoshitishu: return edtkaoshitishu_;
    case SettingsField::None: break;
    }
    return nullptr;
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (QLineEdit* e : keyEdits_) {
            if (watched != e) continue;
            // The key's code is shown; the key itself goes on as usual, so
            // Tab still moves on and Enter still presses OK.
            const int vk = KeyMap::virtualKey(*static_cast<QKeyEvent*>(event));
            if (vk != 0) e->setText(QString::number(static_cast<quint16>(vk)));
            break;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (watched == edtlblbeijing_) edtlblbeijingClick();
            if (watched == edtlblzhiti_) edtlblzhitiClick();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SettingsDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!firstStart_ || hintShown_) return;
    hintShown_ = true;
    // Shown right after this paint, not from inside it.
    QTimer::singleShot(0, this, [this] { Dialogs::message(this, QString::fromUtf8(SettingsModel::kFirstStartHint)); });
}

} // namespace cxb
