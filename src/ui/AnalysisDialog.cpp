#include "ui/AnalysisDialog.h"

#include "ui/KeyboardAccess.h"
#include "ui/ScreenReaderNames.h"

#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "engine/AnalysisView.h"
#include "ui/Dialogs.h"
#include "ui/FittedPicture.h"
#include "ui/ImageFiles.h"

namespace cxb {

AnalysisDialog::AnalysisDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("TForm5");
    setWindowTitle(QStringLiteral("本题属性"));
    setFixedSize(501, 369);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    text_ = new QPlainTextEdit(QStringLiteral("Memo1"), this);
    text_->setObjectName("Metx");
    text_->setReadOnly(true);
    text_->setGeometry(8, 8, 174, 147);
    image_ = new FittedPicture(this);
    image_->setObjectName("Image");
    image_->setGeometry(180, 8, 314, 195);
    image_->setAlignment(Qt::AlignCenter);
    answer_ = new QLabel(QStringLiteral("答案为"), this);
    answer_->setObjectName("Label8");
    answer_->setGeometry(8, 165, 170, 22);
    id_ = new QLabel(QStringLiteral("本题ID"), this);
    id_->setObjectName("Label7");
    id_->setGeometry(8, 190, 170, 22);
    auto counter = [this](const char* labelName, const QString& caption, const char* editName, const QString& text,
                          int y) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(labelName);
        l->setGeometry(20, y, 80, 24);
        auto* e = new QLineEdit(text, this);
        e->setObjectName(editName);
        e->setValidator(new QIntValidator(0, 2147483647, e));
        e->setGeometry(100, y, 120, 24);
        return e;
    };
    read_ = counter("Label5", QStringLiteral("答题次数:"), "read", QStringLiteral("read"), 225);
    right_ = counter("Label1", QStringLiteral("正确次数:"), "dui", QStringLiteral("Edit1"), 255);
    wrong_ = counter("Label2", QStringLiteral("错误次数:"), "er", QStringLiteral("Edit1"), 285);
    star_ = new QLabel(this);
    star_->setObjectName("lblxingbiao");
    star_->setGeometry(20, 325, 200, 24);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName("Button1");
    ok->setGeometry(300, 320, 90, 32);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName("Button2");
    cancel->setGeometry(400, 320, 90, 32);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    ok->setDefault(true);
    KeyboardAccess::bind(this);
    ScreenReaderNames::apply(this);
}

void AnalysisDialog::fill(const AnalysisView& v) {
    id_->setText(QString::fromStdString(v.label7));
    answer_->setText(QString::fromStdString(v.label8));
    if (v.hasCounters) {
        right_->setText(QString::fromStdString(v.rightCount));
        wrong_->setText(QString::fromStdString(v.wrongCount));
        read_->setText(QString::fromStdString(v.answerCount));
    }
    text_->setPlainText(QString::fromStdString(v.text).replace("\r\n", "\n"));
    star_->setText(QString::fromStdString(v.starText));
    QPixmap pixmap;
    if (v.pictureVisible) {
        pixmap = ImageFiles::load(QString::fromStdString(v.picture), image_->devicePixelRatioF());
        // A file that is there but cannot be read is told like a missing one.
        if (pixmap.isNull()) Dialogs::message(parentWidget(), QString::fromStdString(v.pictureUnreadable));
    }
    if (!pixmap.isNull()) {
        image_->setPicture(pixmap);
        image_->show();
    } else {
        image_->clearPicture();
        image_->hide();
    }
}

void AnalysisDialog::showAnalysis(const AnalysisView& v) {
    fill(v);
    exec();
}

} // namespace cxb
