// The payment dialog driven by keys: the fields of each system, what cannot be typed, the
// Perfect Money fee, the checks at OK with their focus, the reference lists and "Get Name",
// and the record it builds.
#include "payments/gui/make_payment_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

#include "../../accounts/gui/tab_fixture.h"
#include "payments/ole_date.h"
#include "refs/ref_lists.h"
#include "ui/base/strings.h"

namespace pw {
namespace {

constexpr std::time_t kNow = 1236340800;  // 2009-03-06 12:00 UTC

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override { test::EnsureQtApp(); }
    std::unique_ptr<CMakePayment> Open(int system, const std::string& balance = "100.00") {
        auto d =
            std::make_unique<CMakePayment>(*PaymentVariantOf(system), ui, "/nonexistent/", kNow);
        d->caption = Str(134);
        d->from = "U1 [LRUSD]";
        d->balance = balance;
        d->source = "LRUSD";
        d->SetSchedulingAllowed(true);
        d->show();
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d.get()));
        return d;
    }
    test::TestUi ui;
};

TEST_F(DialogTest, FieldsOfEachSystemAndTheirNames) {
    const struct {
        int system;
        bool paymentId, getName, fee;
    } cases[] = {{0, false, true, false},
                 {1, true, false, true},
                 {2, false, true, false},
                 {3, true, false, false}};
    for (const auto& c : cases) {
        auto d = Open(c.system);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Make Payment"));
        EXPECT_EQ(d->PaymentIdEdit() != nullptr, c.paymentId);
        EXPECT_EQ(d->GetNameButton() != nullptr, c.getName);
        EXPECT_EQ(d->FeeEdit() != nullptr, c.fee);
        EXPECT_EQ(d->ToEdit()->accessibleName(), QStringLiteral("To"));
        EXPECT_EQ(d->AmountEdit()->accessibleName(), QStringLiteral("Amount"));
        EXPECT_EQ(d->MemoEdit()->accessibleName(), QStringLiteral("Memo"));
        if (c.paymentId) {
            EXPECT_EQ(d->PaymentIdEdit()->accessibleName(), QStringLiteral("Payment ID"));
        }
        EXPECT_EQ(d->focusWidget(), d->ToEdit());
        for (QWidget* w : d->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w);
            if (control && w->isVisibleTo(d.get()) &&
                !qobject_cast<QDialogButtonBox*>(w->parent()) &&
                !qobject_cast<QAbstractSpinBox*>(w->parent())) {
                EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
            }
        }
    }
}

TEST_F(DialogTest, NoSeparatorCanBeTypedAndToIsUpperCase) {
    auto d = Open(3);
    QTest::keyClicks(d->ToEdit(), "u1~2");
    QTest::keyClicks(d->MemoEdit(), "rent~june");
    QTest::keyClicks(d->PaymentIdEdit(), "~id~");
    EXPECT_EQ(d->ToEdit()->text(), QStringLiteral("U12"));
    EXPECT_EQ(d->MemoEdit()->text(), QStringLiteral("rentjune"));
    EXPECT_EQ(d->PaymentIdEdit()->text(), QStringLiteral("id"));
}

TEST_F(DialogTest, ChecksAtOkInOrderKeepTheDialogOpenOnTheField) {
    auto d = Open(0, "10.00");
    const struct {
        const char *to, *amount;
        int message;
        QLineEdit* focus;
    } cases[] = {
        {"", "5", 127, d->ToEdit()},           {"U7", "", 128, d->AmountEdit()},
        {"U7", "12abc", 129, d->AmountEdit()}, {"U7", "1e3", 129, d->AmountEdit()},
        {"U7", "0", 129, d->AmountEdit()},     {"U7", "10,01", 129, d->AmountEdit()},
    };
    for (const auto& c : cases) {
        ui.messages.clear();
        d->ToEdit()->setText(c.to);
        d->AmountEdit()->setText(c.amount);
        QTest::keyClick(d->AmountEdit(), Qt::Key_Return);
        ASSERT_EQ(ui.messages, std::vector<std::string>{Str(c.message)}) << c.to << c.amount;
        EXPECT_EQ(d->focusWidget(), c.focus) << c.amount;
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->AmountEdit()->text().toStdString(), c.amount) << "typed data stays";
    }
    // An amount equal to the balance passes; "," becomes ".".
    ui.messages.clear();
    d->AmountEdit()->setText("10,00");
    QTest::keyClick(d->AmountEdit(), Qt::Key_Return);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(RecordText(d->Record(), d->Variant()), "U7~10.00~~no~~no~LRUSD~no");
}

TEST_F(DialogTest, PerfectMoneyFeeOnLeavingAmountAndAgainAtOk) {
    auto d = Open(1, "100.00");
    QTest::keyClicks(d->ToEdit(), "u7654321");
    d->AmountEdit()->setFocus();
    QTest::keyClicks(d->AmountEdit(), "100");
    QTest::keyClick(d->AmountEdit(), Qt::Key_Tab);
    EXPECT_EQ(d->AmountEdit()->text(), QStringLiteral("100.00"));
    EXPECT_EQ(d->FeeEdit()->text(), QStringLiteral("0.50"));
    EXPECT_EQ(d->OverallEdit()->text(), QStringLiteral("100.50"));
    // Typed again and OK pressed while Amount still has the focus: the fee is recomputed.
    d->AmountEdit()->setFocus();
    d->AmountEdit()->setText("99,5");
    QTest::keyClick(d->AmountEdit(), Qt::Key_Return);
    EXPECT_EQ(d->FeeEdit()->text(), QStringLiteral("0.50"));  // 0.4975 rounds half up
    EXPECT_EQ(d->OverallEdit()->text(), QStringLiteral("100.00"));
    ASSERT_EQ(d->result(), QDialog::Accepted) << (ui.messages.empty() ? "" : ui.messages[0]);
    EXPECT_EQ(d->Record().amount, "99.50");
    auto full = Open(1, "100.00");
    full->ToEdit()->setText("U7");
    full->AmountEdit()->setText("100");
    QTest::keyClick(full->AmountEdit(), Qt::Key_Return);
    EXPECT_EQ(ui.messages.back(), Str(129)) << "100 costs 100.50";
}

TEST_F(DialogTest, SchedulingControlsDueTimeAndLoginRule) {
    auto d = Open(1);
    EXPECT_FALSE(d->DateEdit()->isEnabled());
    EXPECT_FALSE(d->RetryBox()->isEnabled());
    QTest::mouseClick(d->ScheduleBox(), Qt::LeftButton, {},
                      QPoint(5, d->ScheduleBox()->height() / 2));
    ASSERT_TRUE(d->ScheduleBox()->isChecked());
    EXPECT_TRUE(d->DateEdit()->isEnabled());
    EXPECT_TRUE(d->TimeEdit()->isEnabled());
    d->RetryBox()->setChecked(true);
    d->DateEdit()->setDate(QDate(2009, 3, 7));
    d->TimeEdit()->setTime(QTime(10, 5));
    d->ToEdit()->setText("U7");
    d->AmountEdit()->setText("5");
    d->PaymentIdEdit()->setText("inv 1");
    QTest::keyClick(d->AmountEdit(), Qt::Key_Return);
    ASSERT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(RecordText(d->Record(), d->Variant()),
              "U7~5.00~~inv 1~yes~" + OleText({2009, 3, 7, 10, 5, 0}) + "~yes~LRUSD~no");

    auto before = Open(0);
    before->ScheduleBox()->setChecked(true);
    before->SetSchedulingAllowed(false);
    EXPECT_FALSE(before->ScheduleBox()->isEnabled());
    EXPECT_FALSE(before->ScheduleBox()->isChecked());
    EXPECT_EQ(before->ScheduleBox()->toolTip().toStdString(), kSchedulingNeedsLoginText);
}

TEST_F(DialogTest, ReferenceListsAndGetName) {
    auto d = Open(2);
    std::vector<std::string> files;
    std::string answer = "VM100002~Payee Store~shop";
    d->SetChooser([&](QWidget*, const RefListSpec& list) {
        files.push_back(list.file);
        return answer;
    });
    QTest::mouseClick(d->PayeeButton(), Qt::LeftButton);
    EXPECT_EQ(d->ToEdit()->text(), QStringLiteral("VM100002"));
    EXPECT_EQ(d->NameEdit()->text(), QStringLiteral("Payee Store"));
    EXPECT_EQ(d->focusWidget(), d->AmountEdit());
    answer = "monthly rent";
    QTest::mouseClick(d->MemoButton(), Qt::LeftButton);
    EXPECT_EQ(d->MemoEdit()->text(), QStringLiteral("monthly rent"));
    answer.clear();  // OK without a row changes nothing
    QTest::mouseClick(d->MemoButton(), Qt::LeftButton);
    EXPECT_EQ(d->MemoEdit()->text(), QStringLiteral("monthly rent"));
    EXPECT_EQ(files, (std::vector<std::string>{"VMAccountTo.ini", "VMMemo.ini", "VMMemo.ini"}));

    EXPECT_FALSE(d->GetNameButton()->isEnabled()) << "no lookup yet";
    std::vector<std::string> asked;
    d->SetNameLookup([&](const std::string& a) {
        asked.push_back(a);
        return std::string("Looked Up");
    });
    d->ToEdit()->clear();
    QTest::mouseClick(d->GetNameButton(), Qt::LeftButton);
    EXPECT_TRUE(asked.empty()) << "an empty To asks nothing";
    d->ToEdit()->setText("VM100003");
    QTest::mouseClick(d->GetNameButton(), Qt::LeftButton);
    EXPECT_EQ(asked, std::vector<std::string>{"VM100003"});
    EXPECT_EQ(d->NameEdit()->text(), QStringLiteral("Looked Up"));
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace pw
