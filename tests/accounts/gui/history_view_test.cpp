// The record dialog and the receipt, and the account tab's double-click and export.
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "../../store/temp_dir.h"
#include "../../ui/jpeg_decode.h"
#include "accounts/gui/history_view.h"
#include "accounts/history_export.h"
#include "settings/keys.h"
#include "tab_fixture.h"

namespace pw::test {
namespace {

const char kText[] = "Date : d\r\nFrom/To Account : U1234*** (Name)\r\nMemo : m";

TEST(HistoryView, ShowsTheTextWithoutSelectionAndCopiesIt) {
    EnsureQtApp();
    ScriptedUi ui;
    CHistoryView view(ui, kText, "LR_7.jpg");
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(view.windowTitle().startsWith(QStringLiteral("History Record")));
    auto* edit = view.findChild<QPlainTextEdit*>(QStringLiteral("recordEdit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->toPlainText().toStdString(),
              "Date : d\nFrom/To Account : U1234*** (Name)\nMemo : m");
    EXPECT_FALSE(edit->textCursor().hasSelection());
    EXPECT_EQ(edit->textCursor().position(), 0);
    for (const char* name : {"recordEdit", "copyButton", "saveButton"}) {
        auto* w = view.findChild<QWidget*>(QLatin1String(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << name;
        EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << name;
    }
    QApplication::clipboard()->setText(QStringLiteral("old"));
    QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("copyButton")), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), kText);
    // Escape closes the dialog.
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.isVisible());
}

TEST(HistoryView, SavesTheReceiptOrSaysWhyNot) {
    EnsureQtApp();
    struct Case {
        const char* name;
        std::optional<std::string> chosen;  // below the folder; nullopt: Cancel
        bool written;
    } cases[] = {
        {"saved", "LR_7.jpg", true},
        {"cancelled", std::nullopt, false},
        {"folder is a file", "plain/LR_7.jpg", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pw::testing::TempDir dir;
        pw::testing::WriteRaw(dir / "plain", "a file");
        ScriptedUi ui;
        ui.saveNames.push_back(c.chosen ? std::optional<std::string>(dir / *c.chosen)
                                        : std::nullopt);
        CHistoryView view(ui, kText, "LR_7.jpg");
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        const QImage grabbed = view.GrabWindowImage();
        QTest::mouseClick(view.findChild<QPushButton*>(QStringLiteral("saveButton")),
                          Qt::LeftButton);
        EXPECT_EQ(ui.saveSuggested, std::vector<std::string>{"LR_7.jpg"});
        const std::string file = dir / c.chosen.value_or("LR_7.jpg");
        EXPECT_EQ(std::filesystem::exists(dir / "LR_7.jpg"), c.written);
        if (c.written) {
            EXPECT_TRUE(ui.messages.empty());
            const auto d = pw::testing::DecodeJpegSize(pw::testing::ReadAll(file));
            EXPECT_EQ(d.components, 3);
            EXPECT_EQ(d.width, grabbed.width());
            EXPECT_EQ(d.height, grabbed.height());
            EXPECT_GE(d.width, view.width());
        } else if (c.chosen) {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_NE(ui.messages[0].find(file), std::string::npos) << ui.messages[0];
        } else {
            EXPECT_TRUE(ui.messages.empty());
        }
    }
}

class HistoryTabTest : public ::testing::Test {
protected:
    HistoryTabTest() {
        tab = std::make_unique<TestTab>(w.app, w.host);
        tab->findChild<QLineEdit*>(QStringLiteral("accountEdit"))->setText("U1");
        tab->findChild<QLineEdit*>(QStringLiteral("apiNameEdit"))->setText("api");
        tab->findChild<QLineEdit*>(QStringLiteral("secretEdit"))->setText("s");
        w.host.answers.push_back(
            "H:2009-03-05~U1234567 (Name)~-10.00~0.10~90.00~LRUSD~777~a;b~false~api\n"
            "H:2009-03-04~U7~2.50~0.00~100.00~LRUSD~42~~false~api");
        tab->GetHistory();
    }
    TabWorld w;
    std::unique_ptr<TestTab> tab;
};

TEST_F(HistoryTabTest, DoubleClickOpensTheRecordWithTheMaskedCounterpart) {
    ASSERT_EQ(tab->HistoryRows().size(), 2u);
    w.app.WriteInt(keys::kSetting, keys::kHideLastDigit, 1);
    w.app.WriteInt(keys::kSetting, keys::kHideLastDigitValue, 3);
    auto* view = tab->findChild<QTableView*>(QStringLiteral("historyTable"));
    std::string text, image;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<CHistoryView*>(QApplication::activeModalWidget());
        if (dlg == nullptr) return;
        text = dlg->RecordText();
        image = dlg->ImageName();
        dlg->reject();
    });
    emit view->doubleClicked(view->model()->index(0, 2));
    EXPECT_EQ(text,
              "Date : 2009-03-05\r\nFrom/To Account : U1234*** (Name)\r\nAmount : -10.00\r\n"
              "Currency : LRUSD\r\nBatch : 777\r\nMemo : a;b");
    EXPECT_EQ(image, "LR_777.jpg");
}

// The user's documents folder, as the desktop's user-dirs file names it, for one test.
class DocumentsFolder {
public:
    explicit DocumentsFolder(const std::string& base) : config_(base + "config") {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) old_ = old;
        std::filesystem::create_directories(config_);
        std::filesystem::create_directories(base + "Documents");
        pw::testing::WriteRaw(config_ + "/user-dirs.dirs",
                              "XDG_DOCUMENTS_DIR=\"" + base + "Documents\"\n");
        ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    }
    ~DocumentsFolder() {
        if (old_) {
            ::setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }

private:
    std::string config_;
    std::optional<std::string> old_;
};

TEST_F(HistoryTabTest, ExportWritesTheTableUnderTheProposedName) {
    tab->SelectHistoryRow(1);
    const DocumentsFolder documents(w.dir.Path());
    const std::string proposed = w.dir.Path() + "Documents/LRHistory_20090305.csv";
    w.ui.saveNames.push_back(proposed);
    tab->RunCommand(TabCommand::ExportCsv);
    EXPECT_EQ(w.ui.saveSuggested, std::vector<std::string>{proposed});
    EXPECT_EQ(pw::testing::ReadAll(proposed),
              "Date;From/To;Amount;Fee;Balance;Currency;Batch;Memo;Anonymous;Source\r\n"
              "2009-03-05;U1234567 (Name);-10.00;0.10;90.00;LRUSD;777;a;b;false;api\r\n"
              "2009-03-04;U7;2.50;0.00;100.00;LRUSD;42;;false;api\r\n");
    EXPECT_EQ(std::filesystem::status(proposed).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_FALSE(w.ui.messages.empty());
    EXPECT_EQ(w.ui.messages.back(), ExportCompleteMessage(proposed));
}

}  // namespace
}  // namespace pw::test
