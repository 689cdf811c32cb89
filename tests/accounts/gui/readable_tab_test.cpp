// What a user reads on the account tab: columns as wide as their content unless set by hand,
// a balance box that shows its rows, texts from servers that are no shortcuts, and disabled
// commands that say why.
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "accounts/gui/table_models.h"
#include "tab_fixture.h"
#include "ui/base/widget_text.h"

namespace pw::test {
namespace {

const char kBalance[] = "B:LRUSD~10.00~2009-03-05 10:00~U1234567\n";
const int kDefaults[] = {110, 110, 50, 40, 60, 60, 60, 150, 70, 50};

// A history row whose counterpart and memo are as long as given.
std::string HistoryRow(const std::string& counterpart, const std::string& memo) {
    return "H:2009-03-05 10:00~" + counterpart + "~-1275.25~0.10~90.00~LRUSD~777~" + memo +
           "~false~api";
}

class ReadableTabTest : public ::testing::Test {
protected:
    void Open() { tab = std::make_unique<TestTab>(w.app, w.host); }
    QTableView* History() { return tab->findChild<QTableView*>("historyTable"); }
    QTableView* Balance() { return tab->findChild<QTableView*>("balanceTable"); }
    void LogIn() {
        tab->findChild<QLineEdit*>("accountEdit")->setText("U1234567");
        tab->findChild<QLineEdit*>("apiNameEdit")->setText("api");
        tab->findChild<QLineEdit*>("secretEdit")->setText("secret");
        w.host.answers.push_back(kBalance);
        tab->Login();
        ASSERT_TRUE(tab->IsLoggedIn());
    }
    void ShowHistory(const std::string& answer) {
        w.host.answers.push_back(answer);
        tab->GetHistory();
    }
    // The widest shown text of a column, header included, as the font draws it.
    int WidestText(QTableView* view, int column) {
        QAbstractItemModel* m = view->model();
        int widest = view->horizontalHeader()->fontMetrics().horizontalAdvance(
            m->headerData(column, Qt::Horizontal).toString());
        for (int r = 0; r < m->rowCount(); ++r) {
            const QModelIndex i = m->index(r, column);
            const QVariant font = m->data(i, Qt::FontRole);
            const QFontMetrics fm(font.isValid() ? font.value<QFont>() : view->font());
            widest = std::max(widest, fm.horizontalAdvance(m->data(i).toString()));
        }
        return widest;
    }
    std::string Stored(const char* file) { return ReadFile(w.dir.Path() + "Set/" + file); }

    TabWorld w;
    std::unique_ptr<TestTab> tab;
};

// An empty, a short and a long row, without a table file and with one written by hand.
TEST_F(ReadableTabTest, ColumnWidthsFollowTheContentUnlessSetByHand) {
    const std::string longName = "U7654321 (Third & Sons Trading of the Far Eastern Coast Ltd)";
    const std::string longMemo(60, 'm');
    struct Case {
        const char* name;
        std::string file;  // History.set, "" for none
        std::string rows;
        bool fitted;  // the columns follow their content
    };
    const std::string handFile = "ColumnWidth=90;100;45;40;60;60;60;120;70;50\r\n";
    const std::string defaultFile = "ColumnWidth=110;110;50;40;60;60;60;150;70;50\r\n";
    const Case cases[] = {
        {"no file, empty", "", "", true},
        {"no file, short row", "", HistoryRow("U1 (A)", "m"), true},
        {"no file, long row", "", HistoryRow(longName, longMemo), true},
        {"defaults in the file, long row", defaultFile, HistoryRow(longName, longMemo), true},
        {"by hand, empty", handFile, "", false},
        {"by hand, short row", handFile, HistoryRow("U1 (A)", "m"), false},
        {"by hand, long row", handFile, HistoryRow(longName, longMemo), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.host.answers.clear();
        std::filesystem::remove(w.dir.Path() + "Set/History.set");
        if (!c.file.empty()) WriteFile(w.dir.Path() + "Set/History.set", c.file);
        Open();
        LogIn();
        if (!c.rows.empty()) ShowHistory(c.rows);
        QTableView* view = History();
        const int last = view->model()->columnCount() - 1;
        for (int col = 0; col < last; ++col) {
            SCOPED_TRACE(col);
            if (c.fitted) {
                EXPECT_GE(view->columnWidth(col), kDefaults[col]);
                EXPECT_GE(view->columnWidth(col), WidestText(view, col));
            } else {
                EXPECT_EQ(view->columnWidth(col), std::stoi(Split(c.file.substr(12), ";")[col]));
            }
        }
        // The table file keeps what the user chose, or the defaults.
        tab->SaveState();
        EXPECT_EQ(Stored("History.set"), c.fitted ? defaultFile : handFile);
    }
}

TEST_F(ReadableTabTest, LongCellsStopAtTheWidestFittedColumn) {
    Open();
    LogIn();
    ShowHistory(HistoryRow("U1 (A)", std::string(3000, 'x')));
    EXPECT_EQ(History()->columnWidth(7), ColumnFitter::kMaxFittedWidth);
}

TEST_F(ReadableTabTest, FewerRowsShrinkFittedColumnsBackToTheirDefaults) {
    Open();
    LogIn();
    ShowHistory(HistoryRow("U7654321 (A rather long name of a shop)", "m"));
    EXPECT_GT(History()->columnWidth(1), 110);
    ShowHistory(HistoryRow("U1 (A)", "m"));
    EXPECT_EQ(History()->columnWidth(1), std::max(110, WidestText(History(), 1)));
}

TEST_F(ReadableTabTest, AColumnResizedByHandStaysAndIsStored) {
    Open();
    LogIn();
    History()->horizontalHeader()->resizeSection(1, 70);
    ShowHistory(HistoryRow("U7654321 (A rather long name of a shop)", "m"));
    EXPECT_EQ(History()->columnWidth(1), 70);
    tab->SaveState();
    EXPECT_EQ(Split(Stored("History.set"), ";")[1], "70");
    // The next start keeps it.
    Open();
    EXPECT_EQ(History()->columnWidth(1), 70);
}

TEST_F(ReadableTabTest, TheLastColumnFillsAWiderTableAndStoresItsOwnWidth) {
    Open();
    tab->resize(1300, 700);
    tab->show();
    QApplication::processEvents();
    for (QTableView* view : {Balance(), History()}) {
        SCOPED_TRACE(view->objectName().toStdString());
        const QHeaderView* header = view->horizontalHeader();
        const int last = header->count() - 1;
        EXPECT_EQ(header->sectionViewportPosition(last) + header->sectionSize(last),
                  view->viewport()->width());
    }
    QHeaderView* header = History()->horizontalHeader();
    header->resizeSection(0, 120);
    tab->SaveState();
    const TextList stored = Split(Stored("History.set"), ";");
    ASSERT_EQ(stored.size(), 10u);
    EXPECT_EQ(stored[0], "ColumnWidth=120");
    const int own = std::max(50, header->sectionSizeHint(9));
    EXPECT_EQ(stored[9], std::to_string(own) + "\r\n");
    EXPECT_GT(header->sectionSize(9), own);
}

TEST_F(ReadableTabTest, TheBalanceBoxShowsSixRowsWithoutScrolling) {
    Open();
    tab->resize(900, 560);
    tab->show();
    for (int rows = 1; rows <= 6; ++rows) {
        SCOPED_TRACE(rows);
        std::string answer;
        for (int i = 0; i < rows; ++i)
            answer += "B:LRCUR" + std::to_string(i) + "~1234567.89~2009-03-05 10:00~U1\n";
        w.host.answers.push_back(answer);
        tab->RefreshBalance();
        QApplication::processEvents();
        QTableView* view = Balance();
        ASSERT_EQ(view->model()->rowCount(), rows);
        EXPECT_FALSE(view->verticalScrollBar()->isVisible());
        EXPECT_FALSE(view->horizontalScrollBar()->isVisible());
        EXPECT_LE(view->visualRect(view->model()->index(rows - 1, 0)).bottom(),
                  view->viewport()->height());
    }
}

TEST(MnemonicText, EveryAmpersandIsDoubled) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"Third Sons", "Third Sons"},
        {"Third & Sons", "Third && Sons"},
        {"&", "&&"},
        {"&&", "&&&&"},
        {"Tom & Jerry's <shop> &amp;", "Tom && Jerry's <shop> &&amp;"},
        {"&Refresh", "&&Refresh"},
    };
    for (const auto& [in, out] : cases) {
        EXPECT_EQ(EscapeMnemonics(std::string(in)).toStdString(), out) << in;
        // Shown as written: no shortcut is taken from it.
        EXPECT_TRUE(QKeySequence::mnemonic(EscapeMnemonics(QString::fromUtf8(in))).isEmpty())
            << in;
    }
}

TEST_F(ReadableTabTest, AServerTextInAMenuItemIsNoShortcut) {
    Open();
    LogIn();
    ShowHistory(HistoryRow("5550001 (Third & Sons)", "m"));
    tab->SelectHistoryRow(0);
    const std::vector<MenuItem> items = tab->HistoryMenu();
    EXPECT_EQ(items[3].text, "Get history for account 5550001 (Third & Sons)");
    std::unique_ptr<QMenu> menu(BuildMenu(items, tab.get()));
    const QAction* action = menu->actions()[3];
    EXPECT_EQ(action->text().toStdString(), "Get history for account 5550001 (Third && Sons)");
    EXPECT_TRUE(QKeySequence::mnemonic(action->text()).isEmpty());
}

// The payment items in each state, with and without their handlers.
TEST_F(ReadableTabTest, DisabledPaymentItemsSayWhy) {
    struct Case {
        const char* name;
        bool handlers, logIn;
        int row;
        std::string why;  // "" : enabled
    };
    const Case cases[] = {
        {"no handler", false, true, 0, kOffNotAvailable},
        {"not logged in", true, false, -1, kOffNotLoggedIn},
        {"no row", true, true, -1, kOffNoBalanceRow},
        {"row beyond the table", true, true, 5, kOffNoBalanceRow},
        {"row", true, true, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        if (!c.handlers) {
            tab->SetFeature(TabFeature::Payment, nullptr);
            tab->SetFeature(TabFeature::MassPayment, nullptr);
        }
        if (c.logIn) LogIn();
        tab->SelectBalanceRow(c.row);
        const std::vector<MenuItem> items = tab->BalanceMenu();
        std::unique_ptr<QMenu> menu(BuildMenu(items, tab.get()));
        EXPECT_TRUE(menu->toolTipsVisible());
        for (int i : {2, 3}) {
            EXPECT_EQ(items[i].enabled, c.why.empty());
            EXPECT_EQ(items[i].whyDisabled, c.why);
            const QAction* action = menu->actions()[i];
            EXPECT_EQ(action->isEnabled(), c.why.empty());
            if (!c.why.empty()) {
                EXPECT_EQ(action->toolTip().toStdString(), c.why);
            }
        }
    }
}

TEST_F(ReadableTabTest, TheChooserIsOffWhileLoggedInAndSaysWhy) {
    Open();
    auto* chooser = tab->findChild<QToolButton*>("chooseButton");
    EXPECT_TRUE(chooser->isEnabled());
    LogIn();
    EXPECT_FALSE(chooser->isEnabled());
    EXPECT_EQ(chooser->toolTip().toStdString(), kOffLoggedIn);
    // A handler supplied later does not switch it on during the login.
    tab->SetFeature(TabFeature::SavedAccounts, [] {});
    EXPECT_FALSE(chooser->isEnabled());
    tab->RunCommand(TabCommand::ChangeAccount);
    EXPECT_TRUE(chooser->isEnabled());
    EXPECT_EQ(chooser->toolTip().toStdString(), "Choose saved account");
    tab->SetFeature(TabFeature::SavedAccounts, nullptr);
    EXPECT_FALSE(chooser->isEnabled());
    EXPECT_EQ(chooser->toolTip().toStdString(), kOffNotAvailable);
}

// What the timers send is marked as no one's request by hand; what the user asks for is not.
TEST_F(ReadableTabTest, TimerRequestsAreBackgroundRequestsOfTheirTab) {
    Open();
    LogIn();
    w.ui.numbers.push_back(1);
    tab->SetAutoRefresh();
    const void* self = static_cast<const AccountTabWidget*>(tab.get());
    w.host.answers.push_back(kBalance);
    w.clock.Advance(60);
    ASSERT_EQ(w.host.origins.size(), 2u);
    EXPECT_EQ(w.host.origins[0], nullptr);  // the login
    EXPECT_EQ(w.host.origins[1], self);
    EXPECT_EQ(tab->scheduleOrigins, std::vector<const void*>{self});
    EXPECT_EQ(w.host.background, nullptr);
    w.host.answers.push_back(kBalance);
    tab->RunCommand(TabCommand::Refresh);
    EXPECT_EQ(w.host.origins.back(), nullptr);
}

}  // namespace
}  // namespace pw::test
