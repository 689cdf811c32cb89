// The smaller pieces of the shell: the program-directory rule, text limits, badges, the
// sound player and the window placement store.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>
#include <algorithm>

#include "app/gui/notify.h"
#include "app/gui/program_dir.h"
#include "app/gui/tab_badges.h"
#include "shell_fixture.h"
#include "ui/window_placement.h"

namespace pw::test {
namespace {

TEST(ProgramDir, StripsTheModuleNameUpToTheFirstForeignCharacter) {
    EXPECT_EQ(StripModuleName("/opt/pw/purseward", "purseward"), "/opt/pw/");
    // Every trailing character that occurs in the name goes, not just the name itself.
    EXPECT_EQ(StripModuleName("/opt/pw/spurseward", "purseward"), "/opt/pw/");
    EXPECT_EQ(StripModuleName("/opt/wards/purseward", "purseward"), "/opt/wards/");
    EXPECT_EQ(StripModuleName("/home/u/Purseward.exe", "Purseward.exe"), "/home/u/");
    EXPECT_EQ(StripModuleName("/a/b/pw", "pw"), "/a/b/");
}

TEST(ProgramDir, AModuleTextWithSlashesFallsBackToTheFilesOwnDirectory) {
    // "./purseward" holds "/" and "." : the plain rule would leave "/home" without a slash.
    EXPECT_EQ(StripModuleName("/home/u/purseward", "./purseward"), "/home/u/");
    EXPECT_EQ(StripModuleName("/x/bin/purseward", "bin/purseward"), "/x/bin/");
    EXPECT_EQ(StripModuleName("/srv/purseward", "/srvpurseward"), "/srv/");
}

TEST(ProgramDir, NeedsAFileThatOpens) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString old = QDir::currentPath();
    QDir::setCurrent(tmp.path());
    EXPECT_FALSE(ProgramDirOf("purseward").has_value());
    EXPECT_FALSE(ProgramDirOf("").has_value());
    ASSERT_TRUE(QDir().mkpath("purseward"));  // a directory of that name is no program
    EXPECT_FALSE(ProgramDirOf("purseward").has_value());
    QFile f(tmp.path() + "/pw");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(ProgramDirOf("pw"), tmp.path().toStdString() + "/");
    // An absolute name opens from anywhere.
    QDir::setCurrent(old);
    EXPECT_EQ(ProgramDirOf(tmp.path().toStdString() + "/pw"), tmp.path().toStdString() + "/");
}

TEST(TextLimits, BalloonAndCaptionTexts) {
    EXPECT_EQ(LimitText("abc", 3), "abc");
    EXPECT_EQ(LimitText("abcd", 3), "...");
    EXPECT_EQ(LimitText(QString(256, 'z'), 255), QString(252, 'z') + "...");
    EXPECT_EQ(LimitText("", 255), "");
    // A character outside the basic plane is never split in half.
    const QString wide = QString(251, 'a') + QString::fromUtf8("\xF0\x9F\x98\x80") + "bbbb";
    const QString cut = LimitText(wide, 255);
    EXPECT_EQ(cut, QString(251, 'a') + "...");
    EXPECT_EQ(TabCaption(""), "");
    EXPECT_EQ(TabCaption("U1"), "[U1]");
    EXPECT_EQ(TabCaption(QString(62, 'q')).size(), 63);
    EXPECT_TRUE(TabCaption(QString(62, 'q')).endsWith("...]"));
}

TEST(Badges, OnePerSystemInItsOwnColour) {
    EnsureQtApp();
    std::vector<QRgb> plates;
    for (int i = 0; i < 6; ++i) {
        const QPixmap badge = TabBadge(i);
        ASSERT_EQ(badge.size(), QSize(88, 25));
        const QImage img = badge.toImage();
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << "rounded corner is see-through";
        plates.push_back(img.pixel(3, 12));
    }
    std::sort(plates.begin(), plates.end());
    EXPECT_EQ(std::unique(plates.begin(), plates.end()), plates.end());
    EXPECT_EQ(TabBadge(9).size(), QSize(88, 25));
    EXPECT_FALSE(ProgramIcon().pixmap(QSize(32, 32)).isNull());
}

TEST(Badges, SystemNamesAndPrefixes) {
    EXPECT_EQ(SystemPrefix(3), "EG");
    EXPECT_EQ(SystemName(2), "V-Money");
    EXPECT_EQ(SystemName(6), "");
    EXPECT_EQ(SystemOfPrefix("GDP"), 4);
    EXPECT_EQ(SystemOfPrefix("ECU"), 5);
    EXPECT_EQ(SystemOfPrefix("xx"), -1);
}

TEST(Sound, MissingFileIsSilentlyNothing) {
    EnsureQtApp();
    SoundPlayer player;
    EXPECT_FALSE(player.Play("/nonexistent/Sound/notify.wav"));
    QTemporaryDir tmp;
    EXPECT_FALSE(player.Play(tmp.path()));  // a directory
}

class PlacementTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
    void SetUp() override { Profile().remove("TestWnd"); }
    static QSettings& Profile() {
        static QSettings s(QString::fromLatin1(kProfileOrganization),
                           QString::fromLatin1(kProfileApplication));
        return s;
    }
};

TEST_F(PlacementTest, RoundTripAndMaximisedState) {
    QWidget a;
    a.setGeometry(30, 40, 300, 200);
    a.show();
    SaveWindowPlacement(a, "TestWnd");
    QWidget b;
    ASSERT_TRUE(RestoreWindowPlacement(b, "TestWnd"));
    EXPECT_EQ(b.geometry(), QRect(30, 40, 300, 200));
    EXPECT_FALSE(b.windowState() & Qt::WindowMaximized);
    Profile().setValue("TestWnd/State", 3);
    QWidget c;
    ASSERT_TRUE(RestoreWindowPlacement(c, "TestWnd"));
    EXPECT_TRUE(c.windowState() & Qt::WindowMaximized);
    // A window stored minimised comes back normal.
    Profile().setValue("TestWnd/State", 2);
    QWidget d;
    ASSERT_TRUE(RestoreWindowPlacement(d, "TestWnd"));
    EXPECT_FALSE(d.windowState() & Qt::WindowMinimized);
}

TEST_F(PlacementTest, DamagedOrMissingValuesChangeNothing) {
    QWidget w;
    w.setGeometry(10, 20, 250, 150);
    EXPECT_FALSE(RestoreWindowPlacement(w, "TestWnd"));
    Profile().setValue("TestWnd/Left", "abc");
    Profile().setValue("TestWnd/Top", 1);
    Profile().setValue("TestWnd/Right", 2);
    Profile().setValue("TestWnd/Bottom", 3);
    EXPECT_FALSE(RestoreWindowPlacement(w, "TestWnd"));
    Profile().setValue("TestWnd/Left", 500);  // right of left: no size
    EXPECT_FALSE(RestoreWindowPlacement(w, "TestWnd"));
    EXPECT_EQ(w.geometry(), QRect(10, 20, 250, 150));
}

TEST_F(PlacementTest, APlacementOffEveryScreenKeepsThePosition) {
    Profile().setValue("TestWnd/Left", 90000);
    Profile().setValue("TestWnd/Top", 90000);
    Profile().setValue("TestWnd/Right", 90400);
    Profile().setValue("TestWnd/Bottom", 90300);
    QWidget w;
    w.setGeometry(10, 20, 250, 150);
    ASSERT_TRUE(RestoreWindowPlacement(w, "TestWnd"));
    EXPECT_EQ(w.geometry(), QRect(10, 20, 400, 300));
}

}  // namespace
}  // namespace pw::test
