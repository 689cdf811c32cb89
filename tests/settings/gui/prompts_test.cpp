// The password and master-key prompts hand back what was typed and leave nothing behind.
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

#include "qt_app_env.h"

#include "settings/gui/mkey_prompt.h"
#include "settings/gui/pass_prompt.h"

namespace {


QPushButton* Button(QDialog& dlg, QDialogButtonBox::StandardButton which) {
    auto* box = dlg.findChild<QDialogButtonBox*>();
    return box ? box->button(which) : nullptr;
}

// Runs `act` on the modal dialog once the event loop shows it.
void WhenModal(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        act(*dlg);
    });
}

TEST(PassPrompt, LooksAsExpected) {
    pw::CPassPrompt dlg;
    EXPECT_EQ(dlg.windowTitle(), "Password");
    EXPECT_EQ(dlg.Edit()->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(dlg.Edit()->text().isEmpty());
    EXPECT_FALSE(dlg.Edit()->accessibleName().isEmpty());
    ASSERT_NE(Button(dlg, QDialogButtonBox::Ok), nullptr);
    ASSERT_NE(Button(dlg, QDialogButtonBox::Cancel), nullptr);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_EQ(QApplication::focusWidget(), dlg.Edit());
}

TEST(PassPrompt, OkHandsBackTypedTextAndEmptiesTheEdit) {
    pw::CPassPrompt dlg;
    dlg.open();
    QTest::keyClicks(dlg.Edit(), "s3cr~t pass");
    QTest::mouseClick(Button(dlg, QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Text(), "s3cr~t pass");
    EXPECT_TRUE(dlg.Edit()->text().isEmpty());
    EXPECT_FALSE(dlg.Edit()->isUndoAvailable());
    EXPECT_EQ(dlg.TakeText(), "s3cr~t pass");
    EXPECT_TRUE(dlg.Text().empty());
}

TEST(PassPrompt, CancelHandsBackNothingAndEmptiesTheEdit) {
    pw::CPassPrompt dlg;
    dlg.open();
    QTest::keyClicks(dlg.Edit(), "typed then cancelled");
    QTest::mouseClick(Button(dlg, QDialogButtonBox::Cancel), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(dlg.Text().empty());
    EXPECT_TRUE(dlg.Edit()->text().isEmpty());
}

TEST(PassPrompt, AskReturnsTextOnOkAndNulloptOnCancel) {
    WhenModal([](QDialog& d) {
        auto* edit = d.findChild<QLineEdit*>();
        QTest::keyClicks(edit, "r");
        edit->insert(QString::fromUtf8("\xc3\xbcn"));  // UTF-8 survives the round trip
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(pw::CPassPrompt::Ask(), std::optional<std::string>("r\xc3\xbcn"));

    WhenModal([](QDialog& d) {
        QTest::keyClicks(d.findChild<QLineEdit*>(), "x");
        QTest::keyClick(d.findChild<QLineEdit*>(), Qt::Key_Escape);
    });
    EXPECT_EQ(pw::CPassPrompt::Ask(), std::nullopt);

    // An empty password confirmed is an empty text, not a cancel.
    WhenModal([](QDialog& d) { d.accept(); });
    EXPECT_EQ(pw::CPassPrompt::Ask(), std::optional<std::string>(""));
}

TEST(MKeyPrompt, LooksAsExpected) {
    pw::CMKeyPrompt dlg;
    EXPECT_EQ(dlg.windowTitle(), "Master-key");
    EXPECT_EQ(dlg.Edit()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_FALSE(dlg.Edit()->accessibleName().isEmpty());
    // Whatever was in the edit before is gone when the prompt shows.
    dlg.Edit()->setPlainText("left over");
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_TRUE(dlg.Edit()->toPlainText().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), dlg.Edit());
}

TEST(MKeyPrompt, OkHandsBackLongKeyAndEmptiesTheEdit) {
    const std::string key(304, 'A');
    pw::CMKeyPrompt dlg;
    dlg.open();
    dlg.Edit()->insertPlainText(QString::fromStdString(key));  // as pasted
    QTest::mouseClick(Button(dlg, QDialogButtonBox::Ok), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Text(), key);
    EXPECT_TRUE(dlg.Edit()->toPlainText().isEmpty());
    EXPECT_FALSE(dlg.Edit()->document()->isUndoAvailable());
}

TEST(MKeyPrompt, LineEndsAndBlanksAroundAPastedKeyAreDropped) {
    pw::CMKeyPrompt dlg;
    dlg.open();
    dlg.Edit()->insertPlainText(" 0A1B\r\n2C3D \n\n");
    dlg.accept();
    EXPECT_EQ(dlg.Text(), "0A1B\n2C3D");  // inner text is kept as it is
}

TEST(MKeyPrompt, AskReturnsTextOnOkAndNulloptOnCancel) {
    WhenModal([](QDialog& d) {
        QTest::keyClicks(d.findChild<QPlainTextEdit*>(), "0A1B2C");
        QTest::mouseClick(Button(d, QDialogButtonBox::Ok), Qt::LeftButton);
    });
    EXPECT_EQ(pw::CMKeyPrompt::Ask(), std::optional<std::string>("0A1B2C"));

    WhenModal([](QDialog& d) {
        QTest::keyClicks(d.findChild<QPlainTextEdit*>(), "0A1B2C");
        QTest::mouseClick(Button(d, QDialogButtonBox::Cancel), Qt::LeftButton);
    });
    EXPECT_EQ(pw::CMKeyPrompt::Ask(), std::nullopt);
}

}  // namespace
