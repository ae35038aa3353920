#include <QTest>
#include <QUrl>
#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>

#include "data/BankFile.h"
#include "data/BankGenerator.h"
#include "data/FixedField.h"
#include "data/Gbk.h"
#include "data/StateFile.h"
#include "engine/BankLinkRule.h"
#include "support/TempDir.h"
#include "ui/BankLinkOpener.h"
#include "ui/Dialogs.h"
#include "ui/MainWindow.h"

using namespace cxb;

namespace {

// A program folder whose bank carries `link`, with a document and a script
// beside it.
struct LinkedBank {
    test::TempDir dir;
    explicit LinkedBank(const std::string& link) {
        dir.mkdir("bankdata");
        dir.write("docs/指南.pdf", "%PDF-1.4\n");
        dir.write("docs/指南.sh.pdf", "#!/bin/sh\necho started\n");
        Bank bank = BankGenerator::make(20, 7);
        writeField(bank.header.bankLink, *gbk::fromUtf8(link));
        EXPECT_EQ(BankFile::store(bank, dir.file("bankdata/小车.tk")), "");
        auto state = StateFile::newRecord();
        StateFile::resetState(*state);
        writeField(state->bankPath, *gbk::fromUtf8("bankdata\\小车.tk"));
        EXPECT_EQ(StateFile::saveState(*state, dir.file("bankdata/sys.dat")), 0);
    }
    QString full(const char* name) const {
        return QString::fromStdString(std::filesystem::canonical(dir.path()).string()) + "/" + QString::fromUtf8(name);
    }
};

// Everything the click leads to: what was opened, asked and said.
struct Recorded {
    std::vector<QUrl> opened;
    std::vector<QString> asked;
    std::vector<QString> said;
    bool answer = false;
    Recorded() {
        BankLinkOpener::setOpenHandler([this](const QUrl& url) { opened.push_back(url); });
        Dialogs::setQuestionHandler([this](const QString& q) {
            asked.push_back(q);
            return answer;
        });
        Dialogs::setMessageHandler([this](const QString& m) { said.push_back(m); });
    }
    ~Recorded() {
        BankLinkOpener::setOpenHandler({});
        Dialogs::setQuestionHandler({});
        Dialogs::setMessageHandler({});
    }
    void clear() {
        opened.clear();
        asked.clear();
        said.clear();
    }
};

void click(MainWindow& w, const char* name) { QTest::mouseClick(w.findChild<QWidget*>(name), Qt::LeftButton); }

} // namespace

TEST(BankLinkClick, AWebLinkOpensInTheBrowserAtOnce) {
    LinkedBank f("HTTPS://jiaxiao.example.cn/题库");
    Recorded r;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    r.clear();
    click(w, "img2");
    // Once per left click, on the picture and on the author label alike.
    ASSERT_EQ(r.opened.size(), 1u);
    EXPECT_EQ(r.opened.front(), QUrl(QStringLiteral("https://jiaxiao.example.cn/题库")));
    click(w, "lbltikuzhuozhe");
    EXPECT_EQ(r.opened.size(), 2u);
    // Other buttons open nothing.
    QTest::mouseClick(w.findChild<QWidget*>("img2"), Qt::RightButton);
    QTest::mouseClick(w.findChild<QWidget*>("lbltikuzhuozhe"), Qt::MiddleButton);
    EXPECT_EQ(r.opened.size(), 2u);
    EXPECT_TRUE(r.asked.empty());
    EXPECT_TRUE(r.said.empty());
}

TEST(BankLinkClick, AScriptOrAnotherSchemeOpensNothingAndSaysWhy) {
    const struct {
        const char* link;
        const char* why;
    } refused[] = {
        {"docs/指南.sh.pdf", BankLinkRule::kProgram},
        {"javascript:alert(1)", BankLinkRule::kUnsupported},
        {"docs/不存在.pdf", BankLinkRule::kNotFound},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.link);
        LinkedBank f(c.link);
        Recorded r;
        r.answer = true;
        MainWindow w(QString::fromStdString(f.dir.path()));
        w.show();
        r.clear();
        click(w, "img2");
        click(w, "lbltikuzhuozhe");
        EXPECT_TRUE(r.opened.empty());
        EXPECT_TRUE(r.asked.empty());
        ASSERT_FALSE(r.said.empty());
        for (const QString& m : r.said) EXPECT_TRUE(m.startsWith(QString::fromUtf8(c.why))) << m.toStdString();
    }
}

TEST(BankLinkClick, ADocumentOpensOnlyAfterYes) {
    LinkedBank f("docs\\指南.pdf");
    Recorded r;
    MainWindow w(QString::fromStdString(f.dir.path()));
    w.show();
    const QString question = QStringLiteral("这个题库的链接指向本机文件：%1 要打开吗？").arg(f.full("docs/指南.pdf"));

    r.clear();
    r.answer = false;
    click(w, "lbltikuzhuozhe");
    ASSERT_EQ(r.asked.size(), 1u);
    EXPECT_EQ(r.asked.front(), question);
    EXPECT_TRUE(r.opened.empty());

    r.clear();
    r.answer = true;
    click(w, "lbltikuzhuozhe");
    ASSERT_EQ(r.opened.size(), 1u);
    EXPECT_EQ(r.opened.front(), QUrl::fromLocalFile(f.full("docs/指南.pdf")));
    EXPECT_EQ(r.asked.size(), 1u);
    EXPECT_TRUE(r.said.empty());
}

TEST(BankLinkClick, AnEmptyOrBlankLinkDoesNothing) {
    for (const char* link : {"", "   "}) {
        LinkedBank f(link);
        Recorded r;
        MainWindow w(QString::fromStdString(f.dir.path()));
        w.show();
        r.clear();
        click(w, "img2");
        EXPECT_TRUE(r.opened.empty() && r.asked.empty() && r.said.empty()) << '"' << link << '"';
    }
}
