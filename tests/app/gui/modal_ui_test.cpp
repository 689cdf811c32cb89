// The Qt modal UI: each call shows its dialog, and the answer given there comes back.
#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "shell_fixture.h"
#include "ui/qt_modal_ui.h"

namespace pw::test {
namespace {

// Runs act on the first modal dialog that appears while the caller's dialog runs.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(QWidget*)> act) : act_(std::move(act)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* dlg = QApplication::activeModalWidget();
            if (!dlg || done_) return;
            done_ = true;
            act_(dlg);
        });
        timer_.start(10);
    }
    bool Done() const { return done_; }

private:
    std::function<void(QWidget*)> act_;
    QTimer timer_;
    bool done_ = false;
};

void Click(QWidget* dlg, QDialogButtonBox::StandardButton which) {
    for (auto* box : dlg->findChildren<QDialogButtonBox*>()) {
        if (QPushButton* b = box->button(which)) {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no such button";
}

class ModalUiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
    QtModalUi ui_;
};

TEST_F(ModalUiTest, MessageShowsTheTextWithOk) {
    QString seen;
    DialogDriver d([&](QWidget* dlg) {
        auto* box = qobject_cast<QMessageBox*>(dlg);
        ASSERT_NE(box, nullptr);
        seen = box->text();
        EXPECT_EQ(box->windowTitle(), "Purseward");
        box->button(QMessageBox::Ok)->click();
    });
    ui_.Message("Wrong Password or Setting's file is corrupted.");
    EXPECT_TRUE(d.Done());
    EXPECT_EQ(seen, "Wrong Password or Setting's file is corrupted.");
}

TEST_F(ModalUiTest, AskYesNoReturnsTheButtonPressed) {
    for (bool yes : {true, false}) {
        DialogDriver d([&](QWidget* dlg) {
            auto* box = qobject_cast<QMessageBox*>(dlg);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), "Close Program ?");
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        EXPECT_EQ(ui_.AskYesNo("Close Program ?"), yes);
    }
    // Escape is No.
    DialogDriver esc([](QWidget* dlg) { qobject_cast<QMessageBox*>(dlg)->reject(); });
    EXPECT_FALSE(ui_.AskYesNo("Close Program ?"));
}

TEST_F(ModalUiTest, FallbackPromptsHandBackTheTextOrNothing) {
    {
        DialogDriver d([](QWidget* dlg) {
            EXPECT_EQ(dlg->windowTitle(), "Password");
            auto* edit = dlg->findChild<QLineEdit*>();
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
            edit->setText("s3cret");
            Click(dlg, QDialogButtonBox::Ok);
        });
        EXPECT_EQ(ui_.PromptPassword(), std::optional<std::string>("s3cret"));
    }
    {
        DialogDriver d([](QWidget* dlg) { Click(dlg, QDialogButtonBox::Cancel); });
        EXPECT_EQ(ui_.PromptPassword(), std::nullopt);
    }
    {
        DialogDriver d([](QWidget* dlg) {
            EXPECT_EQ(dlg->windowTitle(), "Master-key");
            auto* edit = dlg->findChild<QPlainTextEdit*>();
            ASSERT_NE(edit, nullptr);
            EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
            edit->setPlainText("ABCDEF0123");
            Click(dlg, QDialogButtonBox::Ok);
        });
        EXPECT_EQ(ui_.PromptMasterKey(), std::optional<std::string>("ABCDEF0123"));
    }
    {
        DialogDriver d([](QWidget* dlg) { Click(dlg, QDialogButtonBox::Cancel); });
        EXPECT_EQ(ui_.PromptMasterKey(), std::nullopt);
    }
}

TEST_F(ModalUiTest, InstalledPromptsReplaceTheFallbacks) {
    int asked = 0;
    ui_.SetPasswordPrompt([&](QWidget*) {
        ++asked;
        return std::optional<std::string>("typed");
    });
    ui_.SetMasterKeyPrompt([&](QWidget*) {
        ++asked;
        return std::optional<std::string>();
    });
    EXPECT_EQ(ui_.PromptPassword(), std::optional<std::string>("typed"));
    EXPECT_EQ(ui_.PromptMasterKey(), std::nullopt);
    EXPECT_EQ(asked, 2);
}

TEST_F(ModalUiTest, NumberPromptTakesAnyNumberAndCancel) {
    {
        DialogDriver d([](QWidget* dlg) {
            auto* input = qobject_cast<QInputDialog*>(dlg);
            ASSERT_NE(input, nullptr);
            EXPECT_EQ(input->windowTitle(), "AutoRefresh every");
            EXPECT_EQ(input->intValue(), 5);
            input->setIntValue(5000);  // the range check belongs to the caller
            Click(dlg, QDialogButtonBox::Ok);
        });
        EXPECT_EQ(ui_.PromptNumber("AutoRefresh every", "min", 5), std::optional<int>(5000));
    }
    DialogDriver d([](QWidget* dlg) { Click(dlg, QDialogButtonBox::Cancel); });
    EXPECT_EQ(ui_.PromptNumber("AutoRefresh every", "min", 5), std::nullopt);
}

}  // namespace
}  // namespace pw::test
