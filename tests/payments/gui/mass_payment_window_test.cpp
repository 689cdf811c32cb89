// The mass-payment window driven by keys: Add/Edit/Delete with the payment dialog as row
// editor, Result Amount, preloaded rows in their tones, the checks at OK and the import.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QMenu>
#include <QPalette>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "../../store/temp_dir.h"
#include "payments/gui/make_mass_payment.h"
#include "payments/gui/payment_list.h"
#include "refs/gui/list_parts.h"
#include "ui/base/fake_seams.h"
#include "ui/base/strings.h"
#include "ui/window_placement.h"

namespace pw {
namespace {

void EnsureApp() {
    static int argc = 1;
    static char name[] = "mass_payment_window_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = QApplication::instance() ? nullptr : new QApplication(argc, argv);
    (void)app;
    static QTemporaryDir profile;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, profile.path());
}

// What the user types into the row editor, then OK (or Cancel when cancel is set).
struct Typed {
    std::string to, amount, memo, paymentId;
    int scheduled = -1;  // -1: leave the box as it is, 0: clear, 1: tick
    bool cancel = false;
};

class MassWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { EnsureApp(); }

    std::unique_ptr<CMakeMassPayment> Make(int system, const std::string& balance = "1000.00") {
        auto w = std::make_unique<CMakeMassPayment>(*MassPaymentVariantOf(system), ui, dir.Path(),
                                                    [] { return std::time_t{1254659696}; });
        w->from = "U1234567";
        w->balance = balance;
        w->source = system == 1 ? "U1234567" : "LRUSD";
        w->SetSchedulingAllowed(true);
        w->SetEditorRunner([this](CMakePayment& d) {
            d.show();
            captions.push_back(d.windowTitle().toStdString());
            shownTo.push_back(d.ToEdit()->text().toStdString());
            if (script.empty()) return int(QDialog::Rejected);
            const Typed t = script.front();
            script.pop_front();
            if (t.cancel) {
                d.reject();
                return d.result();
            }
            auto type = [](QLineEdit* e, const std::string& text) {
                if (e == nullptr) return;
                e->clear();
                QTest::keyClicks(e, QString::fromStdString(text));
            };
            type(d.ToEdit(), t.to);
            type(d.AmountEdit(), t.amount);
            type(d.MemoEdit(), t.memo);
            type(d.PaymentIdEdit(), t.paymentId);
            if (t.scheduled >= 0) d.ScheduleBox()->setChecked(t.scheduled == 1);
            d.accept();
            return d.result();
        });
        w->show();
        return w;
    }
    static QString Cell(CMakeMassPayment& w, int row, int column, int role = Qt::DisplayRole) {
        return w.List()->model()->index(row, column).data(role).toString();
    }
    static void Key(CMakeMassPayment& w, Qt::Key key) { QTest::keyClick(w.List(), key); }

    testing::TempDir dir;
    ScriptedUi ui;
    std::deque<Typed> script;
    std::vector<std::string> captions, shownTo;
};

TEST_F(MassWindowTest, AddEditDeleteByKeysKeepResultAmountExact) {
    auto w = Make(1);
    EXPECT_EQ(w->windowTitle(), "Make Mass Payment");
    EXPECT_EQ(w->FromEdit()->text(), "U1234567");
    EXPECT_EQ(w->BalanceEdit()->text(), "1000.00");
    EXPECT_EQ(w->ResultEdit()->text(), "0.00");
    ASSERT_EQ(w->List()->model()->columnCount(), 7);
    EXPECT_EQ(w->List()->model()->headerData(3, Qt::Horizontal).toString(), "PaymentID");

    script = {{"U7654321", "100", "rent", "INV-1"}, {"U1111111", "0,99", "tea", ""}};
    Key(*w, Qt::Key_Insert);
    EXPECT_EQ(w->ResultEdit()->text(), "100.50");  // PM: the amount and its fee
    Key(*w, Qt::Key_Insert);
    EXPECT_EQ(w->ResultEdit()->text(), "101.49");
    ASSERT_EQ(w->Queue().size(), 2u);
    EXPECT_EQ(w->Queue()[0], "U7654321~100.00~rent~INV-1~no~~no~U1234567~no");
    EXPECT_EQ(Cell(*w, 0, 0), " U7654321");
    EXPECT_EQ(Cell(*w, 0, 1), "100.00");
    EXPECT_EQ(Cell(*w, 0, 3), " INV-1");
    EXPECT_EQ(captions, (std::vector<std::string>{Str(123), Str(123)}));

    // F4 edits the selected row, filled from it.
    SelectRow(w->List(), 0);
    script = {{"U7654321", "50", "rent", "INV-1"}};
    Key(*w, Qt::Key_F4);
    EXPECT_EQ(captions.back(), Str(124));
    EXPECT_EQ(shownTo.back(), "U7654321");
    EXPECT_EQ(w->ResultEdit()->text(), "51.24");  // 50.25 + 0.99
    // A cancelled editor changes nothing.
    script = {{"", "", "", "", -1, true}};
    Key(*w, Qt::Key_F4);
    EXPECT_EQ(w->ResultEdit()->text(), "51.24");

    // Delete removes the selected row; the total can never go below what is left.
    SelectRow(w->List(), 0);
    Key(*w, Qt::Key_Delete);
    ASSERT_EQ(w->Queue().size(), 1u);
    EXPECT_EQ(w->ResultEdit()->text(), "0.99");
    SelectRow(w->List(), 0);
    Key(*w, Qt::Key_Delete);
    EXPECT_EQ(w->ResultEdit()->text(), "0.00");
    // Without a row, F4 and Delete do nothing.
    Key(*w, Qt::Key_F4);
    Key(*w, Qt::Key_Delete);
    EXPECT_EQ(captions.size(), 4u);

    QStringList items;
    for (QAction* a : w->Commands()->Menu()->actions()) items << a->text();
    EXPECT_EQ(items, (QStringList{"Add\tIns", "Edit\tF4", "Delete\tDel", "Import from *.CSV"}));
}

TEST_F(MassWindowTest, PreloadedRowsAreGreyOrRedAndEditingAFailedRowClearsItsMark) {
    auto w = Make(0);
    w->SetQueue({"U7654321~5~rent~yes~39904.500000~no~LRUSD~no",
                 "U1111111~2.5~tea~yes~39905.500000~yes~LRUSD~yes"});
    EXPECT_EQ(w->ResultEdit()->text(), "7.50");
    ASSERT_EQ(w->List()->model()->columnCount(), 6);
    const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    EXPECT_EQ(w->List()->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), grey);
    EXPECT_EQ(w->List()->model()->index(1, 0).data(Qt::ForegroundRole).value<QColor>(),
              QColor(255, 0, 0));
    EXPECT_EQ(Cell(*w, 1, 4), " 2009-04-02 12:00");

    // Editing the failed row (it stays scheduled) clears the failed mark: grey, not red.
    SelectRow(w->List(), 1);
    script = {{"U1111111", "2.5", "tea", "", 1}};
    Key(*w, Qt::Key_F4);
    EXPECT_EQ(w->Queue()[1], "U1111111~2.5~tea~yes~39905.500000~yes~LRUSD~no");
    EXPECT_EQ(w->List()->model()->index(1, 0).data(Qt::ForegroundRole).value<QColor>(), grey);

    // Clearing the box of the first row makes it a payment of now, in the normal colour.
    SelectRow(w->List(), 0);
    script = {{"U7654321", "5", "rent", "", 0}};
    Key(*w, Qt::Key_F4);
    EXPECT_EQ(w->Queue()[0], "U7654321~5~rent~no~~no~LRUSD~no");
    EXPECT_FALSE(w->List()->model()->index(0, 0).data(Qt::ForegroundRole).isValid());
}

TEST_F(MassWindowTest, OkRefusesMoreThanTheBalanceAndKeepsTheWindow) {
    auto w = Make(0, "10.00");
    w->SetQueue({"U7654321~9.99~a~no~~no~LRUSD~no", "U1111111~0.02~b~no~~no~LRUSD~no"});
    w->accept();
    EXPECT_EQ(ui.messages, (std::vector<std::string>{Str(125)}));
    EXPECT_TRUE(w->isVisible());
    EXPECT_NE(w->result(), QDialog::Accepted);
    // Scheduled rows go back into the schedule: only what is sent now must be covered.
    w->SetQueue({"U7654321~9.99~a~no~~no~LRUSD~no", "U1111111~50~b~yes~39904.5~no~LRUSD~no"});
    w->accept();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(w->result(), QDialog::Accepted);
    // OK and Cancel keep the column widths and the placement.
    EXPECT_EQ(testing::ReadAll(dir / "Set/MassPayment.set"),
              "ColumnWidth=110;60;150;60;100;100\r\n");
    EXPECT_TRUE(QSettings(kProfileOrganization, kProfileApplication)
                    .contains(QStringLiteral("PursewardMassPaymentWnd/Right")));
    auto empty = Make(3, "0.00");
    empty->accept();  // an empty list passes
    EXPECT_EQ(empty->result(), QDialog::Accepted);
}

TEST_F(MassWindowTest, ImportAddsTheLinesOfTheProposedFileAndSaysWhatItSkipped) {
    auto w = Make(3);
    std::filesystem::create_directories(dir / "Sample");
    std::ofstream(dir / "Sample/EG_Import.csv", std::ios::binary)
        << "\xEF\xBB\xBF"
           "7654321;1,5;first;A1\n5550001;1,234.56;second;A2\n5550001;2;third;A3";
    ui.openNames = {dir / "Sample/EG_Import.csv"};
    w->ImportAction()->trigger();
    ASSERT_EQ(w->Queue().size(), 2u);
    EXPECT_EQ(w->Queue()[0], "7654321~1.50~first~A1~no~~no~LRUSD~no");
    EXPECT_EQ(w->ResultEdit()->text(), "3.50");
    EXPECT_EQ(ui.messages,
              (std::vector<std::string>{"2 payments imported, 1 line skipped (line 2)."}));
    // A cancelled file dialog imports nothing and says nothing.
    w->Import();
    EXPECT_EQ(w->Queue().size(), 2u);
    EXPECT_EQ(ui.messages.size(), 1u);
}

}  // namespace
}  // namespace pw
