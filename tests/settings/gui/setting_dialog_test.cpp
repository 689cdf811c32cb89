// The settings dialog against a settings file in a temporary folder, clicked and typed into
// offscreen.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "qt_app_env.h"

#include "app/purseward_app.h"
#include "crypto/cipher.h"
#include "settings/gui/logo_badge.h"
#include "settings/gui/setting_dialog.h"
#include "settings/keys.h"
#include "settings/passwords.h"
#include "ui/base/fake_seams.h"
#include "ui/base/strings.h"

namespace {

namespace k = pw::keys;
constexpr char kAbsent[] = "<absent>";

// A scripted UI that can look at the file at the moment a message is shown.
class SnoopUi : public pw::ScriptedUi {
public:
    std::function<void(const std::string&)> onMessage;
    void Message(const std::string& text) override {
        pw::ScriptedUi::Message(text);
        if (onMessage) onMessage(text);
    }
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class SettingDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
            ASSERT_TRUE(dir_.isValid());
        base_ = dir_.path().toStdString() + "/";
        std::filesystem::create_directories(base_ + "Set");
        app_ = std::make_unique<pw::CPursewardApp>(base_, ui_, clock_);
        app_->languageNames = {"Deutsch", "English"};
        app_->languagePaths = {base_ + "Language/Purseward_de.so",
                               base_ + "Language/Purseward_en.so"};
        SetPasswords("", "");
    }

    // The file, the key file and the application object as a start with these passwords
    // leaves them.
    void SetPasswords(const std::string& run, const std::string& pay) {
        std::string pass2;
        if (!pay.empty()) {
            ASSERT_TRUE(pw::Encipher(pay, run, pass2));
        }
        app_->WriteString(k::kSetting, k::kPass1, run.empty() ? "" : pw::PasswordHash(run));
        app_->WriteString(k::kSetting, k::kPass2, pass2);
        app_->WriteString(k::kSetting, k::kCheck, pw::CheckValue(run, pay));
        std::filesystem::create_directories(std::filesystem::path(KeyFile()).parent_path());
        std::ofstream(KeyFile(), std::ios::binary | std::ios::trunc) << pw::MasterKey(run, pay);
        app_->Settings().SetUnlockPassword(run);
        app_->Pw().SetStoredPass2(pass2);
    }

    std::string KeyFile() const { return app_->Pw().KeyFile(); }
    std::string File() const { return ReadAll(app_->SettingsPath()); }
    // The value as the file holds it: "" for a key written empty, kAbsent for none.
    std::string Get(const char* key) const {
        const std::string v = app_->GetString(k::kSetting, key, kAbsent);
        if (v != kAbsent) return v;
        std::istringstream lines(File());
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(std::string(key) + "=", 0) == 0) return std::string();
        return kAbsent;
    }
    int GetInt(const char* key) const { return app_->GetInt(k::kSetting, key, -99); }

    std::unique_ptr<pw::CSetting> Open() {
        auto dlg = std::make_unique<pw::CSetting>(*app_, ui_);
        dlg->show();
        QApplication::setActiveWindow(dlg.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        return dlg;
    }

    static void Retype(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    void ClickOk(pw::CSetting& dlg) { QTest::mouseClick(dlg.OkButton(), Qt::LeftButton); }

    QTemporaryDir dir_;
    std::string base_;
    SnoopUi ui_;
    pw::ManualClock clock_{1700000000};
    std::unique_ptr<pw::CPursewardApp> app_;
};

TEST_F(SettingDialogTest, ShowsTheStoredValues) {
    app_->WriteString(k::kSetting, k::kSelectLanguage, "eng");
    app_->WriteInt(k::kSetting, k::kEnablePM, 0);
    app_->WriteString(k::kSetting, k::kProxyServer, "proxy.lan:3128");
    app_->WriteString(k::kSetting, k::kProxyUserName, "bob");
    app_->WriteInt(k::kSetting, k::kCheckNewVersion, 0);
    app_->WriteInt(k::kSetting, k::kSetDateOnLastVisit, 1);
    app_->WriteInt(k::kSetting, k::kHideLastDigit, 1);
    app_->WriteInt(k::kSetting, k::kHideLastDigitValue, 4);
    SetPasswords("run", "pay");
    app_->WriteSecret(k::kSetting, k::kProxyPass, "pp~1");  // under "run"

    auto dlg = Open();
    EXPECT_EQ(dlg->windowTitle(), "Settings");
    ASSERT_EQ(dlg->LanguageCombo()->count(), 3);
    EXPECT_EQ(dlg->LanguageCombo()->itemText(0).toStdString(), pw::Str(142));
    EXPECT_EQ(dlg->LanguageCombo()->itemText(1), "Deutsch");
    EXPECT_EQ(dlg->LanguageCombo()->currentIndex(), 2);  // "eng" begins "English"
    EXPECT_TRUE(dlg->SystemButton(0)->isChecked());
    EXPECT_FALSE(dlg->SystemButton(1)->isChecked());
    EXPECT_TRUE(dlg->SystemButton(2)->isChecked());  // absent: enabled
    EXPECT_TRUE(dlg->SystemButton(3)->isChecked());
    EXPECT_EQ(dlg->SystemButton(4), nullptr);
    EXPECT_EQ(dlg->RunPasswordEdit()->text(), "run");
    EXPECT_EQ(dlg->PayPasswordEdit()->text(), "pay");
    EXPECT_EQ(dlg->RunPasswordEdit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg->PayPasswordEdit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg->ProxyPassEdit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg->ProxyHostEdit()->text(), "proxy.lan");
    EXPECT_EQ(dlg->ProxyPortEdit()->text(), "3128");
    EXPECT_EQ(dlg->ProxyUserEdit()->text(), "bob");
    EXPECT_EQ(dlg->ProxyPassEdit()->text(), "pp~1");
    EXPECT_FALSE(dlg->CheckNewVersionBox()->isChecked());
    EXPECT_TRUE(dlg->DateOnLastVisitBox()->isChecked());
    EXPECT_TRUE(dlg->HideLastDigitBox()->isChecked());
    EXPECT_EQ(dlg->HideLastDigitEdit()->text(), "4");
    EXPECT_TRUE(dlg->HideLastDigitEdit()->isEnabled());
    EXPECT_TRUE(dlg->OkButton()->isDefault());
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(dlg->SystemButton(i)->isCheckable());
        EXPECT_TRUE(dlg->SystemButton(i)->text().isEmpty());
        EXPECT_EQ(dlg->SystemButton(i)->iconSize(), QSize(60, 20));
        EXPECT_FALSE(dlg->SystemButton(i)->icon().isNull());
    }
}

TEST_F(SettingDialogTest, DefaultsWhenTheFileHoldsNothing) {
    auto dlg = Open();
    EXPECT_EQ(dlg->LanguageCombo()->currentIndex(), 0);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(dlg->SystemButton(i)->isChecked());
    EXPECT_TRUE(dlg->RunPasswordEdit()->text().isEmpty());
    EXPECT_TRUE(dlg->PayPasswordEdit()->text().isEmpty());
    EXPECT_TRUE(dlg->ProxyHostEdit()->text().isEmpty());
    EXPECT_TRUE(dlg->ProxyPortEdit()->text().isEmpty());
    EXPECT_TRUE(dlg->CheckNewVersionBox()->isChecked());
    EXPECT_FALSE(dlg->DateOnLastVisitBox()->isChecked());
    EXPECT_FALSE(dlg->HideLastDigitBox()->isChecked());
    EXPECT_EQ(dlg->HideLastDigitEdit()->text(), "0");
    EXPECT_FALSE(dlg->HideLastDigitEdit()->isEnabled());
}

TEST_F(SettingDialogTest, OkWithoutChangeWritesEveryValueAndShowsNoMessage) {
    app_->WriteString(k::kSetting, k::kSelectLanguage, "English");
    app_->WriteInt(k::kSetting, k::kEnableVM, 0);
    app_->WriteString(k::kSetting, k::kProxyServer, "proxy.lan:3128");
    SetPasswords("run", "pay");
    app_->WriteSecret(k::kSetting, k::kProxyPass, "pp");
    const std::string pass1 = Get(k::kPass1), pass2 = Get(k::kPass2), check = Get(k::kCheck);
    const std::string key = ReadAll(KeyFile());

    auto dlg = Open();
    ClickOk(*dlg);

    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(ui_.masterKeyPrompts, 0);
    EXPECT_EQ(Get(k::kSelectLanguage), "English");
    EXPECT_EQ(GetInt(k::kEnableLR), 1);
    EXPECT_EQ(GetInt(k::kEnablePM), 1);
    EXPECT_EQ(GetInt(k::kEnableVM), 0);
    EXPECT_EQ(GetInt(k::kEnableEG), 1);
    EXPECT_EQ(Get(k::kProxyServer), "proxy.lan:3128");
    EXPECT_EQ(Get(k::kProxyUserName), "");  // written, though it was absent
    EXPECT_EQ(app_->GetSecret(k::kSetting, k::kProxyPass), "pp");
    EXPECT_EQ(GetInt(k::kCheckNewVersion), 1);
    EXPECT_EQ(GetInt(k::kSetDateOnLastVisit), 0);
    EXPECT_EQ(GetInt(k::kHideLastDigit), 0);
    EXPECT_EQ(GetInt(k::kHideLastDigitValue), 0);
    // The passwords were not touched.
    EXPECT_EQ(Get(k::kPass1), pass1);
    EXPECT_EQ(Get(k::kPass2), pass2);
    EXPECT_EQ(Get(k::kCheck), check);
    EXPECT_EQ(ReadAll(KeyFile()), key);
    EXPECT_EQ(app_->UnlockPassword(), "run");
    // Nothing of a password stays in the closed dialog.
    EXPECT_TRUE(dlg->RunPasswordEdit()->text().isEmpty());
    EXPECT_TRUE(dlg->PayPasswordEdit()->text().isEmpty());
    EXPECT_TRUE(dlg->ProxyPassEdit()->text().isEmpty());
}

TEST_F(SettingDialogTest, CancelChangesNothing) {
    app_->WriteString(k::kSetting, k::kProxyServer, "proxy.lan:3128");
    SetPasswords("run", "");
    const std::string before = File();
    const std::string key = ReadAll(KeyFile());

    auto dlg = Open();
    dlg->LanguageCombo()->setCurrentIndex(1);
    QTest::mouseClick(dlg->SystemButton(0), Qt::LeftButton);
    Retype(dlg->RunPasswordEdit(), "other");
    Retype(dlg->ProxyHostEdit(), "elsewhere");
    QTest::mouseClick(dlg->HideLastDigitBox(), Qt::LeftButton);
    QTest::mouseClick(dlg->CancelButton(), Qt::LeftButton);

    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_EQ(File(), before);
    EXPECT_EQ(ReadAll(KeyFile()), key);
    EXPECT_EQ(app_->UnlockPassword(), "run");
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_TRUE(dlg->RunPasswordEdit()->text().isEmpty());
}

TEST_F(SettingDialogTest, ShowingAgainReadsTheFileAgain) {
    SetPasswords("run", "");
    auto dlg = Open();
    Retype(dlg->ProxyHostEdit(), "typed.lan");
    QTest::mouseClick(dlg->CancelButton(), Qt::LeftButton);
    app_->WriteString(k::kSetting, k::kProxyServer, "file.lan:1080");

    dlg->show();
    EXPECT_EQ(dlg->ProxyHostEdit()->text(), "file.lan");
    EXPECT_EQ(dlg->ProxyPortEdit()->text(), "1080");
    EXPECT_EQ(dlg->RunPasswordEdit()->text(), "run");  // emptied at the close, shown again
    ClickOk(*dlg);
    EXPECT_EQ(ui_.masterKeyPrompts, 0);
    EXPECT_EQ(app_->UnlockPassword(), "run");
}

TEST_F(SettingDialogTest, DefaultEntryWritesAnEmptyLanguageAndAsksForARestart) {
    app_->WriteString(k::kSetting, k::kSelectLanguage, "Deutsch");
    std::string languageAtMessage = kAbsent;
    ui_.onMessage = [&](const std::string&) { languageAtMessage = Get(k::kSelectLanguage); };

    auto dlg = Open();
    ASSERT_EQ(dlg->LanguageCombo()->currentIndex(), 1);
    dlg->LanguageCombo()->setCurrentIndex(0);
    ClickOk(*dlg);

    EXPECT_EQ(Get(k::kSelectLanguage), "");
    ASSERT_EQ(ui_.messages, std::vector<std::string>{pw::Str(143)});
    EXPECT_EQ(languageAtMessage, "");  // written before the message
}

TEST_F(SettingDialogTest, ASystemButtonAsksForARestartAfterEveryValueIsWritten) {
    int pmAtMessage = -1, hideValueAtMessage = -1;
    ui_.onMessage = [&](const std::string&) {
        pmAtMessage = GetInt(k::kEnablePM);
        hideValueAtMessage = GetInt(k::kHideLastDigitValue);  // the last value written
    };

    auto dlg = Open();
    QTest::mouseClick(dlg->SystemButton(1), Qt::LeftButton);
    EXPECT_FALSE(dlg->SystemButton(1)->isChecked());
    QTest::mouseClick(dlg->HideLastDigitBox(), Qt::LeftButton);
    Retype(dlg->HideLastDigitEdit(), "2");
    ClickOk(*dlg);

    ASSERT_EQ(ui_.messages, std::vector<std::string>{pw::Str(143)});
    EXPECT_EQ(pmAtMessage, 0);
    EXPECT_EQ(hideValueAtMessage, 2);
    EXPECT_EQ(GetInt(k::kEnableLR), 1);
    EXPECT_EQ(GetInt(k::kEnablePM), 0);
    EXPECT_EQ(GetInt(k::kHideLastDigit), 1);
}

TEST_F(SettingDialogTest, ProxyHostAloneIsWrittenWithoutColon) {
    auto dlg = Open();
    Retype(dlg->ProxyHostEdit(), "gate.lan");
    ClickOk(*dlg);
    EXPECT_EQ(Get(k::kProxyServer), "gate.lan");

    auto again = Open();
    Retype(again->ProxyPortEdit(), "8080");
    ClickOk(*again);
    EXPECT_EQ(Get(k::kProxyServer), "gate.lan:8080");

    // A port without a host is no proxy.
    auto third = Open();
    Retype(third->ProxyHostEdit(), "");
    ClickOk(*third);
    EXPECT_EQ(Get(k::kProxyServer), "");
}

TEST_F(SettingDialogTest, ProxyWithTwoColonsIsShownAndWrittenAsItsHost) {
    app_->WriteString(k::kSetting, k::kProxyServer, "a:b:c");
    auto dlg = Open();
    EXPECT_EQ(dlg->ProxyHostEdit()->text(), "a");
    EXPECT_TRUE(dlg->ProxyPortEdit()->text().isEmpty());
    ClickOk(*dlg);
    EXPECT_EQ(Get(k::kProxyServer), "a");
}

TEST_F(SettingDialogTest, ProxyPortTakesDigitsOnly) {
    auto dlg = Open();
    Retype(dlg->ProxyPortEdit(), "31x2-8");
    EXPECT_EQ(dlg->ProxyPortEdit()->text(), "3128");
}

TEST_F(SettingDialogTest, DigitFieldIsClampedWhenLeft) {
    app_->WriteInt(k::kSetting, k::kHideLastDigit, 1);
    auto dlg = Open();
    QLineEdit* digits = dlg->HideLastDigitEdit();

    Retype(digits, "9");
    QTest::keyClick(digits, Qt::Key_Tab);
    EXPECT_EQ(digits->text(), "5");

    Retype(digits, "-3");
    QTest::keyClick(digits, Qt::Key_Tab);
    EXPECT_EQ(digits->text(), "3");

    Retype(digits, "4a");  // letters never get in
    EXPECT_EQ(digits->text(), "4");

    ClickOk(*dlg);
    EXPECT_EQ(GetInt(k::kHideLastDigitValue), 4);
}

TEST_F(SettingDialogTest, ReturnInTheDigitFieldClampsBeforeOkWrites) {
    app_->WriteInt(k::kSetting, k::kHideLastDigit, 1);
    auto dlg = Open();
    Retype(dlg->HideLastDigitEdit(), "-8");
    QTest::keyClick(dlg->HideLastDigitEdit(), Qt::Key_Return);  // the default button: OK
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(GetInt(k::kHideLastDigitValue), 5);
}

TEST_F(SettingDialogTest, OutOfRangeCountFromTheFileIsWrittenBackWithinRange) {
    app_->WriteInt(k::kSetting, k::kHideLastDigitValue, 9);
    auto dlg = Open();
    EXPECT_EQ(dlg->HideLastDigitEdit()->text(), "9");  // shown as stored
    dlg->accept();                                     // the field was never left
    EXPECT_EQ(GetInt(k::kHideLastDigitValue), 5);
}

TEST_F(SettingDialogTest, DigitFieldFollowsItsCheckBox) {
    auto dlg = Open();
    EXPECT_FALSE(dlg->HideLastDigitEdit()->isEnabled());
    QTest::mouseClick(dlg->HideLastDigitBox(), Qt::LeftButton);
    EXPECT_TRUE(dlg->HideLastDigitEdit()->isEnabled());
    QTest::mouseClick(dlg->HideLastDigitBox(), Qt::LeftButton);
    EXPECT_FALSE(dlg->HideLastDigitEdit()->isEnabled());
}

TEST_F(SettingDialogTest, NonNumericDigitFieldRefusesOkAndWritesNothing) {
    app_->WriteInt(k::kSetting, k::kHideLastDigit, 1);
    const std::string before = File();
    auto dlg = Open();
    Retype(dlg->ProxyHostEdit(), "gate.lan");
    for (const QString& bad : {QString("-"), QString()}) {
        Retype(dlg->HideLastDigitEdit(), bad);
        QTest::keyClick(dlg->HideLastDigitEdit(), Qt::Key_Tab);
        EXPECT_EQ(dlg->HideLastDigitEdit()->text(), bad);  // left as typed
        ui_.messages.clear();
        ClickOk(*dlg);
        EXPECT_EQ(ui_.messages, std::vector<std::string>{"Enter an integer."});
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(File(), before);
    }
    // Once corrected, OK goes through.
    Retype(dlg->HideLastDigitEdit(), "1");
    ui_.messages.clear();
    ClickOk(*dlg);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_EQ(Get(k::kProxyServer), "gate.lan");
    EXPECT_EQ(GetInt(k::kHideLastDigitValue), 1);
}

TEST_F(SettingDialogTest, PaymentPasswordAloneChangesWithTheKeyFile) {
    SetPasswords("run", "pay");
    auto dlg = Open();
    Retype(dlg->PayPasswordEdit(), "pay2");
    ClickOk(*dlg);

    EXPECT_EQ(ui_.masterKeyPrompts, 0);
    std::string pay;
    ASSERT_TRUE(pw::Decipher(Get(k::kPass2), "run", pay));
    EXPECT_EQ(pay, "pay2");
    EXPECT_EQ(app_->StoredPass2(), Get(k::kPass2));
    EXPECT_EQ(Get(k::kCheck), pw::CheckValue("run", "pay2"));
    EXPECT_EQ(ReadAll(KeyFile()), pw::MasterKey("run", "pay2"));
}

TEST_F(SettingDialogTest, PasswordChangeWithoutKeyFileAndCancelledPromptIsDropped) {
    SetPasswords("run", "pay");
    app_->WriteString(k::kSetting, k::kProxyServer, "old.lan");
    std::filesystem::remove(KeyFile());
    const std::string pass1 = Get(k::kPass1), pass2 = Get(k::kPass2), check = Get(k::kCheck);

    auto dlg = Open();
    Retype(dlg->PayPasswordEdit(), "pay2");  // the payment password alone
    Retype(dlg->ProxyHostEdit(), "new.lan");
    ClickOk(*dlg);

    EXPECT_EQ(ui_.masterKeyPrompts, 1);
    EXPECT_EQ(Get(k::kPass1), pass1);
    EXPECT_EQ(Get(k::kPass2), pass2);
    EXPECT_EQ(Get(k::kCheck), check);
    EXPECT_EQ(app_->UnlockPassword(), "run");
    EXPECT_EQ(app_->StoredPass2(), pass2);
    EXPECT_FALSE(std::filesystem::exists(KeyFile()));
    // Everything else is still written.
    EXPECT_EQ(Get(k::kProxyServer), "new.lan");
    EXPECT_EQ(GetInt(k::kCheckNewVersion), 1);
}

TEST_F(SettingDialogTest, PastedMasterKeyLetsTheChangeThrough) {
    SetPasswords("run", "pay");
    std::filesystem::remove(KeyFile());
    ui_.masterKeys.push_back(pw::MasterKey("run", "pay"));

    auto dlg = Open();
    Retype(dlg->RunPasswordEdit(), "run2");
    ClickOk(*dlg);

    EXPECT_EQ(ui_.masterKeyPrompts, 1);
    EXPECT_EQ(app_->UnlockPassword(), "run2");
    EXPECT_EQ(Get(k::kPass1), pw::PasswordHash("run2"));
    std::string pay;
    ASSERT_TRUE(pw::Decipher(Get(k::kPass2), "run2", pay));
    EXPECT_EQ(pay, "pay");
}

TEST_F(SettingDialogTest, ProxyPasswordFollowsAChangedRunPassword) {
    SetPasswords("old", "");
    app_->WriteSecret(k::kSetting, k::kProxyPass, "proxy-secret");

    auto dlg = Open();
    ASSERT_EQ(dlg->ProxyPassEdit()->text(), "proxy-secret");
    Retype(dlg->RunPasswordEdit(), "new");
    ClickOk(*dlg);

    ASSERT_EQ(app_->UnlockPassword(), "new");
    EXPECT_EQ(app_->GetSecretWithKey(k::kSetting, k::kProxyPass, "new"), "proxy-secret");
    EXPECT_EQ(app_->GetSecretWithKey(k::kSetting, k::kProxyPass, "old"), "");

    // Shown again under the new password.
    auto again = Open();
    EXPECT_EQ(again->RunPasswordEdit()->text(), "new");
    EXPECT_EQ(again->ProxyPassEdit()->text(), "proxy-secret");
}

TEST_F(SettingDialogTest, DamagedValuesShowAsEmptyAndLoseNothingOnOk) {
    SetPasswords("run", "pay");
    const std::string pass1 = Get(k::kPass1), check = Get(k::kCheck);
    // Cipher texts that do not decipher, and an integer that is no number.
    app_->WriteString(k::kSetting, k::kProxyPass, "ZZ01");
    app_->WriteString(k::kSetting, k::kHideLastDigitValue, "abc");
    app_->WriteString(k::kSetting, k::kEnableEG, "junk");
    app_->Pw().SetStoredPass2("NOTHEX");
    app_->WriteString(k::kSetting, k::kPass2, "NOTHEX");

    auto dlg = Open();
    EXPECT_TRUE(dlg->ProxyPassEdit()->text().isEmpty());
    EXPECT_TRUE(dlg->PayPasswordEdit()->text().isEmpty());
    EXPECT_EQ(dlg->HideLastDigitEdit()->text(), "0");
    EXPECT_FALSE(dlg->SystemButton(3)->isChecked());  // "junk" reads as 0
    ClickOk(*dlg);

    // Shown empty and left empty: no password change was attempted.
    EXPECT_EQ(ui_.masterKeyPrompts, 0);
    EXPECT_EQ(Get(k::kPass1), pass1);
    EXPECT_EQ(Get(k::kPass2), "NOTHEX");
    EXPECT_EQ(Get(k::kCheck), check);
    EXPECT_EQ(GetInt(k::kHideLastDigitValue), 0);
}

TEST_F(SettingDialogTest, EveryControlIsNamedLabelledAndInReadingOrder) {
    auto dlg = Open();
    int inputs = 0;
    for (QWidget* w : dlg->findChildren<QWidget*>()) {
        if (qobject_cast<QLineEdit*>(w) && qobject_cast<QComboBox*>(w->parentWidget()))
            continue;  // a combo box's own inner edit
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
            qobject_cast<QAbstractButton*>(w)) {
            ++inputs;
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
        if (auto* label = qobject_cast<QLabel*>(w)) {
            ASSERT_NE(label->buddy(), nullptr) << label->text().toStdString();
            EXPECT_EQ(label->buddy()->accessibleName(), label->text());
        }
    }
    EXPECT_EQ(inputs, 1 + 4 + 6 + 3 + 1 + 2);
    EXPECT_EQ(dlg->SystemButton(0)->accessibleName(), "Liberty Reserve");
    EXPECT_EQ(dlg->SystemButton(1)->accessibleName(), "Perfect Money");
    EXPECT_EQ(dlg->SystemButton(2)->accessibleName(), "V-Money");
    EXPECT_EQ(dlg->SystemButton(3)->accessibleName(), "e-gold");
    EXPECT_EQ(dlg->SystemButton(3)->toolTip(), "e-gold");

    QTest::mouseClick(dlg->HideLastDigitBox(), Qt::LeftButton);  // enable the last field
    const std::vector<QWidget*> order = {
        dlg->LanguageCombo(),      dlg->SystemButton(0),    dlg->SystemButton(1),
        dlg->SystemButton(2),      dlg->SystemButton(3),    dlg->RunPasswordEdit(),
        dlg->PayPasswordEdit(),    dlg->ProxyHostEdit(),    dlg->ProxyPortEdit(),
        dlg->ProxyUserEdit(),      dlg->ProxyPassEdit(),    dlg->CheckNewVersionBox(),
        dlg->DateOnLastVisitBox(), dlg->HideLastDigitBox(), dlg->HideLastDigitEdit(),
        dlg->OkButton(),           dlg->CancelButton()};
    dlg->LanguageCombo()->setFocus();
    for (std::size_t i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << "step " << i;
    }
}

TEST_F(SettingDialogTest, ScreenshotOffscreen) {
    app_->WriteString(k::kSetting, k::kProxyServer, "proxy.lan:3128");
    app_->WriteInt(k::kSetting, k::kEnableVM, 0);
    auto dlg = Open();
    const QString dir = QString(PW_BINARY_DIR) + "/screenshots";
    ASSERT_TRUE(QDir().mkpath(dir));
    const QPixmap shot = dlg->grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(dir + "/settings_dialog.png"));
}

TEST(LogoBadgeTest, DrawsADistinctPlatePerSystem) {
    const QSize size(60, 20);
    std::vector<QRgb> plates;
    for (int i = 0; i < 6; ++i) {
        const QPixmap badge = pw::LogoBadge(i, size);
        ASSERT_FALSE(badge.isNull());
        EXPECT_EQ(badge.size(), size);
        const QImage img = badge.toImage();
        // A point of the plate left of the text; the corners stay transparent.
        plates.push_back(img.pixel(4, 10));
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(plates.back()), 255);
        // Some white text is drawn on the plate.
        bool white = false;
        for (int y = 0; y < img.height() && !white; ++y)
            for (int x = 0; x < img.width() && !white; ++x)
                white = qRed(img.pixel(x, y)) > 240 && qGreen(img.pixel(x, y)) > 240 &&
                        qBlue(img.pixel(x, y)) > 240;
        EXPECT_TRUE(white) << i;
    }
    for (std::size_t a = 0; a < plates.size(); ++a)
        for (std::size_t b = a + 1; b < plates.size(); ++b) EXPECT_NE(plates[a], plates[b]);
    EXPECT_FALSE(pw::LogoBadge(6, size).isNull());
    EXPECT_FALSE(pw::LogoBadge(-1, QSize(16, 16)).isNull());
    EXPECT_TRUE(pw::LogoBadge(0, QSize(0, 20)).isNull());
}

}  // namespace
