// The sound module the window loads at the first sound: it must sit in the
// runnable folder and make an effect with the property and slots the window
// drives it by name.
#include <gtest/gtest.h>

#include <QLibrary>
#include <QMetaObject>
#include <QObject>
#include <QUrl>
#include <QVariant>

TEST(SoundModule, MakesAnEffectTheWindowCanDrive) {
    using Make = QObject* (*)(QObject*);
    auto make = reinterpret_cast<Make>(QLibrary::resolve(QStringLiteral(CXB_APP_DIR "/cxb_sound"), "cxbMakeSoundEffect"));
    ASSERT_NE(make, nullptr) << "no sound module in " << CXB_APP_DIR;
    QObject owner;
    QObject* effect = make(&owner);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->parent(), &owner); // goes with the window
    const QMetaObject* meta = effect->metaObject();
    EXPECT_GE(meta->indexOfMethod("play()"), 0);
    EXPECT_GE(meta->indexOfMethod("stop()"), 0);
    const QUrl click = QUrl::fromLocalFile(QStringLiteral("/nowhere/click.wav"));
    EXPECT_TRUE(effect->setProperty("source", click));
    EXPECT_EQ(effect->property("source").toUrl(), click);
}
