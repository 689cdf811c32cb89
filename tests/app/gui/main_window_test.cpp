// The main window: tabs per enabled system, tab menu, table names, tray hiding, the close
// question, status line and notifications.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSystemTrayIcon>
#include <QTabBar>
#include <QTabWidget>
#include <QHeaderView>
#include <QMainWindow>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <ctime>
#include <thread>

#include "accounts/gui/account_tab_api.h"
#include "accounts/gui/table_models.h"
#if PW_HAVE_SETTING_DIALOG
#include "settings/gui/setting_dialog.h"
#endif
#include "shell_fixture.h"
#include <QScrollBar>

#include "ui/window_placement.h"

namespace pw::test {
namespace {

QAction* Action(QWidget& w, const char* name) {
    auto* a = w.findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
}

// What a user gets when the menu pops up.
bool EnabledWhenShown(CPursewardDlg& w, QMenu* menu, const char* action) {
    emit menu->aboutToShow();
    return Action(w, action)->isEnabled();
}

// The texts of a menu's items without their mnemonics; "-" for a separator.
QStringList Items(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text().remove('&'));
    return out;
}

using MainWindowTest = ShellTest;

TEST_F(MainWindowTest, MenusCarryTheirItemsInOrder) {
    auto w = MakeWindow(true);
    EXPECT_EQ(Items(w->ProgramMenu()), (QStringList{"Hide Program", "Show Shedule Payment", "-",
                                                    "About...", "Exit"}));
    EXPECT_EQ(Items(w->IconMenu()), (QStringList{"Show/Hide Program", "Show Shedule Payment", "-",
                                                 "About...", "Exit"}));
    EXPECT_EQ(Items(w->TabMenu()), (QStringList{"Open new Tab", "Close current Tab"}));
    EXPECT_EQ(Items(w->ReferenceMenu()),
              (QStringList{"Liberty Reserve", "Perfect Money", "V-Money", "E-Gold"}));
    for (QAction* sys : w->ReferenceMenu()->actions())
        EXPECT_EQ(Items(sys->menu()), (QStringList{"Correspondent RefBook", "Memo RefBook"}));
    EXPECT_EQ(w->TrayIcon()->contextMenu(), w->IconMenu());
    // "Show Shedule Payment" opens the schedule view over the tags of the logged-in tabs.
    QString caption;
    QTimer::singleShot(0, [&caption] {
        if (auto* dlg = QApplication::activeModalWidget()) {
            caption = dlg->windowTitle();
            dlg->close();
        }
    });
    Action(*w, "actSchedule")->trigger();
    EXPECT_EQ(caption, "Shedule Payments");
    EXPECT_EQ(w->AccountTags(), (TextList{"", "", "", ""}));
}

TEST_F(MainWindowTest, EnabledSystemsGetTabsInIndexOrderWithBadgesAndNames) {
    WriteSettings("Enable_PM=0\nEnable_GDP=1\nEnable_ECU=1\n");
    auto w = MakeWindow();
    EXPECT_EQ(w->windowTitle(), "Purseward");
    EXPECT_FALSE(w->windowIcon().isNull());
    ASSERT_EQ(w->Tabs()->count(), 5);
    EXPECT_EQ(w->FixedTabCount(), 5);
    const std::vector<std::string> prefixes{"LR", "VM", "EG", "GDP", "ECU"};
    const std::vector<QString> names{"Liberty Reserve", "V-Money", "e-gold", "GDP", "ECUMoney"};
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(w->Tabs()->tabBar());
    ASSERT_NE(bar, nullptr);
    ASSERT_GE(bar->childCount(), 5);  // the tabs, then the scroll buttons
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w->TabPrefix(i), prefixes[i]);
        EXPECT_EQ(w->TabTableName(i), "");
        EXPECT_EQ(w->Tabs()->tabText(i), "");
        EXPECT_EQ(w->Tabs()->tabIcon(i).pixmap(QSize(88, 25)).size(), QSize(88, 25));
        EXPECT_EQ(w->Tabs()->widget(i)->accessibleName(), names[i]);
        EXPECT_EQ(w->Tabs()->tabToolTip(i), names[i]);
        EXPECT_EQ(bar->child(i)->role(), QAccessible::PageTab);
        EXPECT_EQ(bar->child(i)->text(QAccessible::Name), names[i]);
    }
    EXPECT_EQ(w->FirstTab(1), nullptr);  // PM is off
    ASSERT_NE(w->FirstTab(5), nullptr);
    EXPECT_EQ(w->FirstTab(5)->SystemIndex(), 5);
}

TEST_F(MainWindowTest, GdpAndEcuAreOffUnlessTheFileSetsThem) {
    auto w = MakeWindow();
    EXPECT_EQ(w->Tabs()->count(), 4);
    EXPECT_EQ(w->TabPrefix(3), "EG");
}

TEST_F(MainWindowTest, AllSystemsOffGivesNoTabsAndOpenNewTabDoesNothing) {
    WriteSettings("Enable_LR=0\nEnable_PM=0\nEnable_VM=0\nEnable_EG=0\n");
    auto w = MakeWindow();
    EXPECT_EQ(w->Tabs()->count(), 0);
    EXPECT_FALSE(EnabledWhenShown(*w, w->TabMenu(), "actCloseTab"));
    Action(*w, "actOpenTab")->trigger();
    EXPECT_EQ(w->Tabs()->count(), 0);
    // The services with no current tab do nothing either.
    w->SetTabCaption("U1");
    EXPECT_EQ(w->MakeTabTableName("U1"), "");
    // Reference books follow the flags.
    for (const char* a : {"actRefLRCorrespondent", "actRefPMMemo", "actRefVMMemo", "actRefEGMemo"})
        EXPECT_FALSE(EnabledWhenShown(*w, w->ReferenceMenu(), a)) << a;
}

TEST_F(MainWindowTest, ReferenceBooksAreEnabledOnlyForEnabledSystems) {
    WriteSettings("Enable_VM=0\n");
    auto w = MakeWindow();
    EXPECT_TRUE(EnabledWhenShown(*w, w->ReferenceMenu(), "actRefLRCorrespondent"));
    EXPECT_TRUE(EnabledWhenShown(*w, w->ReferenceMenu(), "actRefEGMemo"));
    EXPECT_FALSE(EnabledWhenShown(*w, w->ReferenceMenu(), "actRefVMCorrespondent"));
    EXPECT_FALSE(EnabledWhenShown(*w, w->ReferenceMenu(), "actRefVMMemo"));
    int asked = -1;
    bool memo = false;
    QObject::connect(w.get(), &CPursewardDlg::ReferenceBookRequested, [&](int s, bool m) {
        asked = s;
        memo = m;
    });
    // The list opens as manager with its caption; closing it writes its file below Ref/.
    QString caption;
    QTimer::singleShot(0, [&] {
        if (auto* dlg = QApplication::activeModalWidget()) {
            caption = dlg->windowTitle();
            dlg->close();
        }
    });
    Action(*w, "actRefPMMemo")->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(memo);
    EXPECT_EQ(caption, "Reference: Memo for PM-payments");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(w->ProgramDir()) + "Ref/PMMemo.ini"));
}

TEST_F(MainWindowTest, OpenedTabsCanBeClosedFixedOnesCannot) {
    auto w = MakeWindow();
    w->Tabs()->setCurrentIndex(1);  // PM
    EXPECT_FALSE(EnabledWhenShown(*w, w->TabMenu(), "actCloseTab"));
    w->CloseCurrentTab();  // even when asked directly, a fixed tab stays
    EXPECT_EQ(w->Tabs()->count(), 4);

    Action(*w, "actOpenTab")->trigger();
    ASSERT_EQ(w->Tabs()->count(), 5);
    EXPECT_EQ(w->TabPrefix(4), "PM");
    EXPECT_EQ(w->Tabs()->currentIndex(), 1);  // the new tab is appended, not selected
    EXPECT_EQ(w->Tabs()->widget(4)->accessibleName(), "Perfect Money");
    EXPECT_EQ(w->FirstTab(1), w->Tabs()->widget(1));  // the first PM tab stays the first

    w->Tabs()->setCurrentIndex(4);
    EXPECT_TRUE(EnabledWhenShown(*w, w->TabMenu(), "actCloseTab"));
    Action(*w, "actCloseTab")->trigger();
    EXPECT_EQ(w->Tabs()->count(), 4);
    EXPECT_EQ(w->Tabs()->currentIndex(), 3);  // the one before
    EXPECT_EQ(w->TabPrefix(4), "");
}

TEST_F(MainWindowTest, SecondTabOfASystemGetsItsOwnTableNameAndIsGoneAfterRestart) {
    {
        auto w = MakeWindow();
        w->Tabs()->setCurrentIndex(0);
        w->OpenNewTab();
        w->Tabs()->setCurrentIndex(4);
        EXPECT_EQ(w->MakeTabTableName("U1"), "LR_U1");
        w->Tabs()->setCurrentIndex(0);
        EXPECT_EQ(w->MakeTabTableName("U2"), "LR_U2");
        EXPECT_EQ(w->TabTableName(4), "LR_U1");
        EXPECT_EQ(w->TabTableName(0), "LR_U2");
        // An empty account forgets the name.
        EXPECT_EQ(w->MakeTabTableName(""), "");
        EXPECT_EQ(w->TabTableName(0), "");
        EXPECT_EQ(w->TabTableName(4), "LR_U1");
        ui_.yesNo.push_back(true);
        w->close();
        // Only the first tab of each system saves.
        EXPECT_EQ(saves_, (std::vector<int>{0, 1, 3, 2}));
    }
    auto again = MakeWindow();
    EXPECT_EQ(again->Tabs()->count(), 4);
    EXPECT_EQ(again->TabTableName(0), "");
}

TEST_F(MainWindowTest, CaptionIsBracketedAndCutAt63Characters) {
    auto w = MakeWindow();
    w->Tabs()->setCurrentIndex(2);
    w->SetTabCaption("U1234567");
    EXPECT_EQ(w->Tabs()->tabText(2), "[U1234567]");
    EXPECT_EQ(w->Tabs()->tabText(1), "");
    EXPECT_EQ(w->Tabs()->tabBar()->accessibleTabName(2), "V-Money [U1234567]");
    const std::string longText(70, 'x');
    w->SetTabCaption(longText);
    const QString caption = w->Tabs()->tabText(2);
    EXPECT_EQ(caption.size(), 63);
    EXPECT_EQ(caption, "[" + QString(58, 'x') + "...]");
    const std::string exact(61, 'y');  // "[" + 61 + "]" is exactly 63
    w->SetTabCaption(exact);
    EXPECT_EQ(w->Tabs()->tabText(2), "[" + QString::fromStdString(exact) + "]");
    w->SetTabCaption("");
    EXPECT_EQ(w->Tabs()->tabText(2), "");
    EXPECT_EQ(w->Tabs()->tabBar()->accessibleTabName(2), "V-Money");
}

TEST_F(MainWindowTest, MinimisingHidesToTheTrayAndDoubleClickBringsItBack) {
    auto w = MakeWindow(true);
    ASSERT_NE(w->TrayIcon(), nullptr);
    w->show();
    w->showMinimized();
    EXPECT_TRUE(w->IsHiddenInTray());
    EXPECT_TRUE(WaitFor([&] { return !w->isVisible(); }));
    emit w->TrayIcon()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(w->IsHiddenInTray());
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isMinimized());
    // "Hide Program" toggles the same way.
    Action(*w, "actHide")->trigger();
    EXPECT_TRUE(WaitFor([&] { return !w->isVisible(); }));
    Action(*w, "actToggle")->trigger();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->IsHiddenInTray());
}

TEST_F(MainWindowTest, WithoutATrayMinimisingOnlyMinimises) {
    auto w = MakeWindow(false);
    EXPECT_EQ(w->TrayIcon(), nullptr);
    w->show();
    w->showMinimized();
    QApplication::processEvents();
    EXPECT_FALSE(w->IsHiddenInTray());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isMinimized());
    // "Hide Program" must not strand the window either.
    w->showNormal();
    Action(*w, "actHide")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->IsHiddenInTray());
}

TEST_F(MainWindowTest, BringToFrontRestoresAWindowHiddenInTheTray) {
    auto w = MakeWindow(true);
    w->show();
    w->showMinimized();
    ASSERT_TRUE(WaitFor([&] { return !w->isVisible(); }));
    w->BringToFront();
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isMinimized());
    EXPECT_FALSE(w->IsHiddenInTray());
}

TEST_F(MainWindowTest, NoToCloseProgramLeavesEverythingYesSavesAndCloses) {
    WriteSettings("LastVisitDate=01/01/2000\nEnable_GDP=1\nEnable_ECU=1\n");
    auto w = MakeWindow();
    bool closed = false;
    QObject::connect(w.get(), &CPursewardDlg::Closed, [&] { closed = true; });
    w->show();
    w->setGeometry(40, 50, 900, 600);
    Action(*w, "actExit")->trigger();
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0], "Close Program ?");
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(closed);
    EXPECT_EQ(Setting("LastVisitDate"), "01/01/2000");
    EXPECT_TRUE(saves_.empty());
    QSettings profile(QString::fromLatin1(kProfileOrganization),
                      QString::fromLatin1(kProfileApplication));
    EXPECT_FALSE(profile.contains("PursewardWnd/Left"));

    ui_.yesNo.push_back(true);
    w->close();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(w->isVisible());
    std::tm local{};
    const std::time_t now = clock_.Now();
    localtime_r(&now, &local);
    char today[16];
    std::strftime(today, sizeof today, "%d/%m/%Y", &local);
    EXPECT_EQ(Setting("LastVisitDate"), today);
    EXPECT_EQ(saves_, (std::vector<int>{0, 1, 3, 2, 4, 5}));
    profile.sync();
    EXPECT_EQ(profile.value("PursewardWnd/Left").toInt(), 40);
    EXPECT_EQ(profile.value("PursewardWnd/Top").toInt(), 50);
    EXPECT_EQ(profile.value("PursewardWnd/Right").toInt(), 940);
    EXPECT_EQ(profile.value("PursewardWnd/Bottom").toInt(), 650);
    EXPECT_EQ(profile.value("PursewardWnd/State").toInt(), 1);

    // The next window comes back where this one was (a placement larger than it needs).
    auto next = MakeWindow();
    EXPECT_EQ(next->geometry(), QRect(40, 50, 900, 600));
}

TEST_F(MainWindowTest, ClockShowsUtcAndMovesWithTheMinuteTimer) {
    auto w = MakeWindow();
    EXPECT_EQ(w->ClockField()->text(), "Date-Time GMT : 2009-10-04 12:34");
    EXPECT_EQ(w->IpField()->text(), "Current IP : ---.---.---.---");
    EXPECT_EQ(w->TrafficField()->text(), "Send/Received (KB) : 0.000/0.000");
    EXPECT_TRUE(w->ClockField()->isReadOnly());
    EXPECT_EQ(w->ClockField()->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    w->show();  // the timer starts with the first showing
    clock_.Advance(59);
    EXPECT_EQ(w->ClockField()->text(), "Date-Time GMT : 2009-10-04 12:34");
    clock_.Advance(1);
    EXPECT_EQ(w->ClockField()->text(), "Date-Time GMT : 2009-10-04 12:35");
    clock_.Advance(3600);
    EXPECT_EQ(w->ClockField()->text(), "Date-Time GMT : 2009-10-04 13:35");
}

TEST_F(MainWindowTest, TrafficFieldFollowsTheRequests) {
    auto w = MakeWindow();
    script_.answers.push_back({std::string(1000, 'a'), ""});
    script_.answers.push_back({std::string(1048, 'b'), ""});
    EXPECT_EQ(w->HttpsGet("https://h/" + std::string(90, 'u')), std::string(1000, 'a'));
    EXPECT_EQ(w->HttpGet("http://h/" + std::string(115, 'v')), std::string(1048, 'b'));
    EXPECT_EQ(script_.urls.size(), 2u);
    EXPECT_EQ(w->TrafficField()->text(), "Send/Received (KB) : 0.219/2.000");
}

TEST_F(MainWindowTest, FailedRequestIsShownOrGoesToTheTrayWhenHidden) {
    auto w = MakeWindow(true);
    w->show();
    script_.answers.push_back({"", "Could not resolve host: h"});
    EXPECT_EQ(w->HttpsGet("https://h/x"), "");
    ASSERT_EQ(ui_.messages.size(), 1u);
    EXPECT_EQ(ui_.messages[0], "Could not connect to h:443.\nCould not resolve host: h");
    EXPECT_TRUE(balloons_.empty());

    w->showMinimized();
    ASSERT_TRUE(w->IsHiddenInTray());
    script_.answers.push_back({"", "Connection timed out", FailureKind::Timeout});
    EXPECT_EQ(w->HttpsGet("https://h/y"), "");
    EXPECT_EQ(ui_.messages.size(), 1u);
    ASSERT_EQ(balloons_.size(), 1u);
    EXPECT_EQ(balloons_[0].second, "h:443 did not answer in time.\nConnection timed out");
    EXPECT_EQ(w->TrafficField()->text(), "Send/Received (KB) : 0.021/0.000");
}

TEST_F(MainWindowTest, NotifyUserShowsABalloonAndPlaysTheSoundOnlyWithATray) {
    {
        auto w = MakeWindow(false);
        w->NotifyUser("Balance is changed");
        EXPECT_TRUE(balloons_.empty());
        EXPECT_TRUE(sounds_.empty());
    }
    auto w = MakeWindow(true);
    w->NotifyUser("Balance is changed\nUSD 10.00");
    ASSERT_EQ(balloons_.size(), 1u);
    EXPECT_EQ(balloons_[0].first, "Purseward");
    EXPECT_EQ(balloons_[0].second, "Balance is changed\nUSD 10.00");
    ASSERT_EQ(sounds_.size(), 1u);
    // No program file found: the sound is looked for below the base directory.
    EXPECT_EQ(sounds_[0], QString::fromStdString(base_ + "Sound/notify.wav"));

    const std::string longText = std::string(250, 'a') + std::string(50, 'b');
    w->NotifyUser(longText);
    const QString shown = balloons_.back().second;
    EXPECT_EQ(shown.size(), 255);
    EXPECT_EQ(shown, QString(250, 'a') + "bb...");
    w->NotifyUser(std::string(255, 'c'));
    EXPECT_EQ(balloons_.back().second, QString(255, 'c'));
}

TEST_F(MainWindowTest, WorkerThreadServicesReachTheWidgetsOnTheWindowThread) {
    auto w = MakeWindow(true);
    std::thread worker([&] {
        w->ShowCurrentIP("192.0.2.7");
        w->NotifyUser("from the banner");
    });
    worker.join();
    EXPECT_TRUE(WaitFor([&] { return w->IpField()->text() == "Current IP : 192.0.2.7"; }));
    EXPECT_TRUE(WaitFor([&] { return balloons_.size() == 1; }));
    w->ShowCurrentIP("203.0.113.1");
    EXPECT_EQ(w->IpField()->text(), "Current IP : 203.0.113.1");
}

TEST_F(MainWindowTest, ProgramDirectoryComesFromTheExecutableModule) {
    {
        // Nothing named "purseward" here: the default is written back, ProgramPath untouched.
        WriteSettings("ProgramPath=/old/place/\n");
        auto w = MakeWindow();
        EXPECT_EQ(w->ProgramDir(), "");
        EXPECT_EQ(Setting("ExecutableModule"), "purseward");
        EXPECT_EQ(Setting("ProgramPath"), "/old/place/");
    }
    ASSERT_TRUE(QDir().mkpath(tmp_.path() + "/bin"));
    QFile program(tmp_.path() + "/bin/purseward");
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    WriteSettings("ExecutableModule=bin/purseward\nProgramPath=/old/place/\n");
    auto w = MakeWindow(true);
    EXPECT_EQ(w->ProgramDir(), base_ + "bin/");
    EXPECT_EQ(Setting("ProgramPath"), base_ + "bin/");
    EXPECT_EQ(app_->Pw().KeyFile(), base_ + "bin/Set/Purseward.key");
    w->NotifyUser("x");
    ASSERT_EQ(sounds_.size(), 1u);
    EXPECT_EQ(sounds_[0], QString::fromStdString(base_ + "bin/Sound/notify.wav"));
}

TEST_F(MainWindowTest, AboutOpensTheSiteFromTheSettings) {
    WriteSettings("InfoSite=http://127.0.0.1:18080\n");
    auto w = MakeWindow();
    bool seen = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        auto* dlg = QApplication::activeModalWidget();
        if (!dlg || seen) return;
        seen = true;
        EXPECT_EQ(dlg->windowTitle(), "About Purseward");
        for (auto* b : dlg->findChildren<QPushButton*>())
            if (b->text().contains("Visit")) b->click();
        for (auto* b : dlg->findChildren<QPushButton*>())
            if (b->text() == "OK") b->click();
    });
    probe.start(10);
    Action(*w, "actAbout")->trigger();
    EXPECT_TRUE(seen);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl("http://127.0.0.1:18080"));
}

#if PW_HAVE_SETTING_DIALOG
TEST_F(MainWindowTest, SettingsCommandOpensTheSettingsDialog) {
    auto w = MakeWindow();
    w->show();
    bool seen = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<CSetting*>(QApplication::activeModalWidget());
        if (!dlg || seen) return;
        seen = true;
        dlg->CancelButton()->click();
    });
    probe.start(10);
    Action(*w, "actSettings")->trigger();
    EXPECT_TRUE(seen);
}
#endif

TEST_F(MainWindowTest, EveryFocusableControlHasAnAccessibleName) {
    auto w = MakeWindow(true);
    w->show();
    int checked = 0;
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (!c->isVisibleTo(w.get()) || c->focusPolicy() == Qt::NoFocus) continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(c);
        ASSERT_NE(iface, nullptr);
        EXPECT_FALSE(iface->text(QAccessible::Name).isEmpty()) << c->metaObject()->className();
        ++checked;
    }
    EXPECT_GE(checked, 4);  // the tab bar and the three status fields at least
    // Reading order: the tabs and their pages, then the status fields from left to right,
    // also after a tab was opened.
    auto lastFocusable = [&w] {
        std::vector<QWidget*> order;
        for (QWidget* c = w->nextInFocusChain(); c && c != w.get(); c = c->nextInFocusChain())
            if ((c->focusPolicy() & Qt::TabFocus) && c->isVisibleTo(w.get())) order.push_back(c);
        return std::vector<QWidget*>(order.end() - 3, order.end());
    };
    const std::vector<QWidget*> status = {w->ClockField(), w->IpField(), w->TrafficField()};
    EXPECT_EQ(lastFocusable(), status);
    w->OpenNewTab();
    EXPECT_EQ(lastFocusable(), status);
}

// Assistive technologies see a top-level frame with a menu bar and a status bar; it opens
// where every tab header, column title and status text can be read, whatever was stored.
TEST_F(MainWindowTest, OpensAsAFrameWhereEveryHeaderAndStatusTextCanBeRead) {
    WriteSettings("Enable_GDP=1\nEnable_ECU=1\n");
    realTabs_ = true;
    for (const QRect stored : {QRect(), QRect(10, 10, 300, 200)}) {
        QSettings profile(QString::fromLatin1(kProfileOrganization),
                          QString::fromLatin1(kProfileApplication));
        profile.remove(QString::fromLatin1(kMainWindowPlacement));
        if (stored.isValid()) {
            profile.beginGroup(QString::fromLatin1(kMainWindowPlacement));
            profile.setValue("Left", stored.left());
            profile.setValue("Top", stored.top());
            profile.setValue("Right", stored.right());
            profile.setValue("Bottom", stored.bottom());
            profile.endGroup();
        }
        profile.sync();
        auto w = MakeWindow();
        w->show();
        QApplication::processEvents();
        QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(w.get());
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(frame->role(), QAccessible::Window);
        auto* statusBar = w->findChild<QStatusBar*>();
        EXPECT_TRUE(statusBar && statusBar->isAncestorOf(w->TrafficField()));
        EXPECT_GE(w->width(), 662);
        EXPECT_GE(w->height(), 475);
        QTabBar* bar = w->Tabs()->tabBar();
        ASSERT_EQ(bar->count(), 6);
        EXPECT_LE(bar->tabRect(5).right(), bar->width()) << "ECU header";
        const auto views = w->Tabs()->widget(0)->findChildren<QTableView*>();
        ASSERT_EQ(views.size(), 2);
        for (QTableView* view : views) {
            // The columns' own widths (the last one fills what is left beyond its own).
            const ColumnFitter* fit = ColumnFitter::Of(view);
            ASSERT_NE(fit, nullptr);
            EXPECT_LE(fit->ContentWidth() - 2 * view->frameWidth(),
                      view->viewport()->width() - view->verticalScrollBar()->sizeHint().width())
                << view->objectName().toStdString();
        }
        for (QLineEdit* field : {w->ClockField(), w->IpField(), w->TrafficField()}) {
            const int frameWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
            EXPECT_LE(field->fontMetrics().horizontalAdvance(field->text()) + 4,
                      field->width() - 2 * frameWidth)
                << field->text().toStdString();
        }
    }
}

TEST_F(MainWindowTest, TabMenuOpensOnlyOverTheCurrentTabsHeader) {
    auto w = MakeWindow();
    w->show();
    QTabBar* bar = w->Tabs()->tabBar();
    w->Tabs()->setCurrentIndex(1);
    auto press = [bar](const QPoint& pos, QContextMenuEvent::Reason reason) {
        QContextMenuEvent event(reason, pos, bar->mapToGlobal(pos));
        QApplication::sendEvent(bar, &event);
    };
    // Over another tab: no menu that would act on the current one.
    press(bar->tabRect(0).center(), QContextMenuEvent::Mouse);
    EXPECT_FALSE(w->TabMenu()->isVisible());
    press(bar->tabRect(2).center(), QContextMenuEvent::Mouse);
    EXPECT_FALSE(w->TabMenu()->isVisible());
    // Over the current tab's header.
    press(bar->tabRect(1).center(), QContextMenuEvent::Mouse);
    EXPECT_TRUE(w->TabMenu()->isVisible());
    w->TabMenu()->close();
    // The menu key opens it wherever the tab bar reports the press.
    press(QPoint(0, 0), QContextMenuEvent::Keyboard);
    EXPECT_TRUE(w->TabMenu()->isVisible());
    w->TabMenu()->close();
}

TEST_F(MainWindowTest, ScreenshotOfTheMainWindow) {
    auto w = MakeWindow();
    w->resize(700, 480);
    w->show();
    w->Tabs()->setCurrentIndex(0);
    w->SetTabCaption("U1234567");
    QApplication::processEvents();
    const QString dir = QStringLiteral(PW_BINARY_DIR "/screenshots");
    ASSERT_TRUE(QDir().mkpath(dir));
    const QPixmap shot = w->grab();
    EXPECT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(dir + "/main_window.png"));
}

}  // namespace
}  // namespace pw::test
