#include "ui/SkinDialog.h"

#include "ui/KeyboardAccess.h"
#include "ui/ScreenReaderNames.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/SkinSettings.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

namespace cxb {

SkinDialog::SkinDialog(MainWindow& window) : QDialog(&window), window_(window) {
    setObjectName("TForm_Pifu");
    setWindowTitle(QStringLiteral("皮肤设置"));
    setFixedSize(520, 250);
    static const struct { const char* edit; const char* label; const char* browse; } rows[] = {
        {"edtshunxu", "顺序练习：", "btnshunxu"},
        {"edtchubulianxi", "初步练习：", "btnchubulianxi"},
        {"edtnantilianxi", "难题练习：", "btnnantilianxi"},
        {"edtkaoshi", "模拟考试：", "btnkaoshi"},
    };
    SkinSettings::Names names = SkinSettings::read(*window.trainer().s.state);
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(QString::fromUtf8(rows[i].label), this);
        label->setGeometry(20, 20 + i * 40, 90, 28);
        auto* edit = new QLineEdit(QString::fromStdString(names[static_cast<std::size_t>(i)]), this);
        edit->setObjectName(rows[i].edit);
        edit->setGeometry(110, 20 + i * 40, 290, 28);
        edits_[static_cast<std::size_t>(i)] = edit;
        auto* browse = new QPushButton(QStringLiteral("浏览……"), this);
        browse->setObjectName(rows[i].browse);
        browse->setGeometry(410, 20 + i * 40, 90, 28);
        browse->hide();
    }
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName("Button2");
    ok->setGeometry(300, 200, 95, 32);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &SkinDialog::Button2Click);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName("Button3");
    cancel->setGeometry(405, 200, 95, 32);
    connect(cancel, &QPushButton::clicked, this, &SkinDialog::Button3Click);
    KeyboardAccess::bind(this);
}

void SkinDialog::Button2Click() {
    SkinSettings::Names names;
    for (int i = 0; i < 4; ++i) names[static_cast<std::size_t>(i)] = edits_[static_cast<std::size_t>(i)]->text().toStdString();
    std::string refusal = SkinSettings::store(*window_.trainer().s.state, names);
    if (!refusal.empty()) {
        Dialogs::message(this, QString::fromStdString(refusal));
        return;
    }
    window_.trainer().saveState();
    accept();
}

void SkinDialog::Button3Click() { reject(); }

} // namespace cxb
