#include "ui/ToolStrip.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QWindow>

#include "ui/MainWindow.h"
#include "ui/PictureButton.h"

namespace cxb {

namespace {
struct ButtonDef {
    const char* name;
    Ctl control;
    const char* twin;
    const char* twinCaption;
    int size;
};
const ButtonDef kButtons[] = {
    {"ima_sunxu", Ctl::ima_sunxu, "SunXu", "顺序练习", 77},
    {"Imchuji", Ctl::Imchuji, "chuji", "初步练习", 80},
    {"Ima_nanti", Ctl::Ima_nanti, "LianXKS", "难题练习", 77},
    {"Ima_kaoshi", Ctl::Ima_kaoshi, "KaoShi", "模拟考试", 77},
    {"Ima_cuowuji", Ctl::Ima_cuowuji, "btnErrorLianX", "错误集", 77},
    {"Ima_tiku", Ctl::Ima_tiku, "btn2", "题库", 77},
    {"img_lishi", Ctl::img_lishi, "btn6", "历史", 77},
    {"img_shezhi", Ctl::img_shezhi, "SET", "设置", 77},
    {"imgzhuozhe", Ctl::imgzhuozhe, nullptr, nullptr, 77},
};
} // namespace

ToolStrip::ToolStrip(MainWindow& window) : QWidget(&window), window_(window) {
    setObjectName("pnl3");
    setGeometry(0, 0, MainWindow::kDesignWidth, 100);
    Trainer& t = window.trainer();
    WindowAdapter& a = window.adapter();

    int x = 14;
    for (const auto& def : kButtons) {
        auto* button = new PictureButton(def.name, this, QSize(def.size, def.size));
        button->move(x, def.size == 80 ? 9 : 10);
        x += def.size + 8;
        a.registerControl(def.control, button);
        Ctl c = def.control;
        connect(button, &PictureButton::moved, this, [&t, c] { t.skinButtons.mouseMove(c); });
        connect(button, &PictureButton::left, this, [&t, c] { t.skinButtons.mouseLeave(c); });
        connect(button, &PictureButton::pressed, this, [&t, c] { t.skinButtons.mouseDown(c); });
        if (def.twin) {
            auto* twin = new QPushButton(QString::fromUtf8(def.twinCaption), this);
            twin->setObjectName(def.twin);
            twin->hide();
            connect(button, &PictureButton::clicked, twin, &QPushButton::click);
        }
    }
    auto twin = [this](const char* name) { return findChild<QPushButton*>(name); };
    connect(twin("SunXu"), &QPushButton::clicked, this, [&t] { t.modes.SunXuClick(); });
    connect(twin("chuji"), &QPushButton::clicked, this, [&t] { t.modes.chujiClick(); });
    connect(twin("LianXKS"), &QPushButton::clicked, this, [&t] { t.modes.LianXKSClick(); });
    connect(twin("KaoShi"), &QPushButton::clicked, this, [&t] { t.modes.KaoShiClick(); });
    connect(twin("btnErrorLianX"), &QPushButton::clicked, this, [&t] { t.review.btnErrorLianXClick(); });
    connect(twin("btn2"), &QPushButton::clicked, this, [&t] { t.search.btn2Click(); });
    connect(twin("btn6"), &QPushButton::clicked, this, [this] { window_.btn6Click(); });
    connect(twin("SET"), &QPushButton::clicked, this, [this] { window_.SETClick(); });
    connect(findChild<PictureButton*>("imgzhuozhe"), &PictureButton::clicked, this, [this] { window_.Button5Click(); });

    auto* img2 = new QLabel(this);
    img2->setObjectName("img2");
    img2->setGeometry(x, 8, 110, 62);
    img2->setAlignment(Qt::AlignCenter);
    img2->setCursor(Qt::PointingHandCursor);
    a.registerControl(Ctl::img2, img2);
    auto* author = new QLabel(this);
    author->setObjectName("lbltikuzhuozhe");
    author->setGeometry(x, 72, 120, 20);
    author->setAlignment(Qt::AlignCenter);
    author->setCursor(Qt::PointingHandCursor);
    a.registerControl(Ctl::lbltikuzhuozhe, author);

    const int right = x + 124;
    auto* welcome = new QLabel(QStringLiteral("欢迎使用《驰学宝》"), this);
    welcome->setObjectName("lbl4");
    welcome->setGeometry(right, 12, 140, 20);
    auto* version = new QLabel(this);
    version->setObjectName("lblguanyu");
    version->setGeometry(right, 34, 140, 20);
    a.registerControl(Ctl::lblguanyu, version);

    auto* pifu = new QPushButton(QStringLiteral("皮肤设置"), this);
    pifu->setObjectName("Pifu");
    pifu->setGeometry(right, 62, 84, 28);
    connect(pifu, &QPushButton::clicked, this, [this] { window_.PifuClick(); });

    auto* close = new PictureButton("img5", this, QSize(32, 32));
    close->move(MainWindow::kDesignWidth - 46, 12);
    a.registerControl(Ctl::img5, close);
    connect(close, &PictureButton::moved, this, [&t] { t.skinButtons.mouseMove(Ctl::img5); });
    connect(close, &PictureButton::left, this, [&t] { t.skinButtons.mouseLeave(Ctl::img5); });
    connect(close, &PictureButton::clicked, &window, &QWidget::close);
}

void ToolStrip::mousePressEvent(QMouseEvent* event) {
    if (window_.windowHandle()) window_.windowHandle()->startSystemMove();
    event->accept();
}

} // namespace cxb
