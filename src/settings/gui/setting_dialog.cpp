#include "settings/gui/setting_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/purseward_app.h"
#include "crypto/cipher.h"
#include "settings/gui/logo_badge.h"
#include "settings/gui/secure_clear.h"
#include "settings/gui/setting_rules.h"
#include "settings/keys.h"
#include "ui/base/modal_ui.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {
namespace {

constexpr std::array<const char*, 4> kEnableKeys = {keys::kEnableLR, keys::kEnablePM,
                                                    keys::kEnableVM, keys::kEnableEG};
constexpr std::array<const char*, 4> kSystemNames = {"Liberty Reserve", "Perfect Money",
                                                     "V-Money", "e-gold"};
constexpr char kEnterInteger[] = QT_TRANSLATE_NOOP("Purseward", "Enter an integer.");

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

QLineEdit* NewEdit(QWidget* parent, const char* name, const QString& accessible,
                   bool masked = false) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessible);
    if (masked) edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QLabel* NewLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(text);
    return label;
}

QCheckBox* NewCheck(const QString& text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(text);
    return box;
}

}  // namespace

CSetting::CSetting(CPursewardApp& app, ModalUi& ui, QWidget* parent)
    : QDialog(parent), app_(app), ui_(ui) {
    setObjectName("CSetting");
    setWindowTitle(Purseward::tr("Settings"));
    BuildControls();
}

CSetting::~CSetting() {
    ClearPasswordFields();
    WipeString(shownRun_);
    WipeString(shownPay_);
}

QPushButton* CSetting::SystemButton(int systemIndex) const {
    if (systemIndex < 0 || systemIndex >= static_cast<int>(systems_.size())) return nullptr;
    return systems_[static_cast<std::size_t>(systemIndex)];
}

void CSetting::BuildControls() {
    // Language.
    language_ = new QComboBox(this);
    language_->setObjectName("combo1037");
    auto* languageLabel = NewLabel(Purseward::tr("Select Language :"), language_, this);
    auto* languageRow = new QHBoxLayout;
    languageRow->addWidget(languageLabel);
    languageRow->addWidget(language_, 1);

    // Payment systems with a tab.
    auto* systemsGroup = new QGroupBox(Purseward::tr("Select Payment Processor"), this);
    auto* systemsRow = new QHBoxLayout(systemsGroup);
    const QSize logoSize(60, 20);
    for (std::size_t i = 0; i < systems_.size(); ++i) {
        auto* button = new QPushButton(systemsGroup);
        button->setObjectName(QString("button%1").arg(1009 + static_cast<int>(i)));
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setIcon(LogoBadge(static_cast<int>(i), logoSize));
        button->setIconSize(logoSize);
        button->setAccessibleName(kSystemNames[i]);
        button->setToolTip(kSystemNames[i]);
        systemsRow->addWidget(button);
        systems_[i] = button;
    }
    systemsRow->addStretch(1);

    // Program passwords.
    auto* securityGroup = new QGroupBox(Purseward::tr("Security Settings"), this);
    auto* securityGrid = new QGridLayout(securityGroup);
    runPass_ = NewEdit(securityGroup, "edit1002", QString(), true);
    payPass_ = NewEdit(securityGroup, "edit1003", QString(), true);
    securityGrid->addWidget(NewLabel(Purseward::tr("Password for Run"), runPass_, securityGroup), 0,
                            0);
    securityGrid->addWidget(runPass_, 0, 1);
    securityGrid->addWidget(
        NewLabel(Purseward::tr("Password for Payment"), payPass_, securityGroup), 1, 0);
    securityGrid->addWidget(payPass_, 1, 1);
    securityGrid->setRowStretch(2, 1);

    // Proxy.
    auto* proxyGroup = new QGroupBox(Purseward::tr("Proxy Settings"), this);
    auto* proxyGrid = new QGridLayout(proxyGroup);
    proxyHost_ = NewEdit(proxyGroup, "edit1004", QString());
    proxyPort_ = NewEdit(proxyGroup, "edit1007", Purseward::tr("Proxy port"));
    proxyPort_->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]*"), proxyPort_));
    proxyPort_->setMaxLength(5);
    proxyPort_->setMaximumWidth(proxyPort_->fontMetrics().horizontalAdvance("000000") + 16);
    proxyUser_ = NewEdit(proxyGroup, "edit1013", QString());
    proxyPass_ = NewEdit(proxyGroup, "edit1015", QString(), true);
    proxyGrid->addWidget(NewLabel(Purseward::tr("Proxy"), proxyHost_, proxyGroup), 0, 0);
    proxyGrid->addWidget(proxyHost_, 0, 1);
    proxyGrid->addWidget(proxyPort_, 0, 2);
    proxyGrid->addWidget(NewLabel(Purseward::tr("UserName"), proxyUser_, proxyGroup), 1, 0);
    proxyGrid->addWidget(proxyUser_, 1, 1, 1, 2);
    proxyGrid->addWidget(NewLabel(Purseward::tr("Password"), proxyPass_, proxyGroup), 2, 0);
    proxyGrid->addWidget(proxyPass_, 2, 1, 1, 2);

    auto* groupsRow = new QHBoxLayout;
    groupsRow->addWidget(securityGroup, 1);
    groupsRow->addWidget(proxyGroup, 1);

    // Display options.
    checkNewVersion_ = NewCheck(Purseward::tr("Check new version at startup"), "check1006", this);
    dateOnLastVisit_ =
        NewCheck(Purseward::tr("Set \"Date From\" on date your last visit"), "check1014", this);
    hideLastDigit_ =
        NewCheck(Purseward::tr("Hide in \"From/To Account\" of history record, last digits :"),
                 "check1040", this);
    hideDigits_ = NewEdit(this, "edit1016", Purseward::tr("Hidden last digits"));
    hideDigits_->setValidator(
        new QRegularExpressionValidator(QRegularExpression("-?[0-9]*"), hideDigits_));
    hideDigits_->setMaxLength(11);
    hideDigits_->setMaximumWidth(hideDigits_->fontMetrics().horizontalAdvance("00000") + 16);
    auto* hideRow = new QHBoxLayout;
    hideRow->addWidget(hideLastDigit_);
    hideRow->addWidget(hideDigits_);
    hideRow->addStretch(1);
    connect(hideLastDigit_, &QCheckBox::clicked, this, &CSetting::OnHideLastDigitClicked);
    connect(hideDigits_, &QLineEdit::editingFinished, this, &CSetting::OnHideDigitsLeft);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    ok_->setAccessibleName(Purseward::tr("OK"));
    cancel_->setAccessibleName(Purseward::tr("Cancel"));
    ok_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSetting::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSetting::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(languageRow);
    layout->addWidget(systemsGroup);
    layout->addLayout(groupsRow);
    layout->addWidget(checkNewVersion_);
    layout->addWidget(dateOnLastVisit_);
    layout->addLayout(hideRow);
    layout->addStretch(1);
    layout->addWidget(buttons);

    // Reading order.
    QWidget* order[] = {language_,  systems_[0],      systems_[1],      systems_[2],
                        systems_[3], runPass_,        payPass_,         proxyHost_,
                        proxyPort_, proxyUser_,       proxyPass_,       checkNewVersion_,
                        dateOnLastVisit_, hideLastDigit_, hideDigits_, ok_, cancel_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void CSetting::LoadValues() {
    // Languages: "Default", then the application's names in their order.
    std::vector<std::string> entries;
    entries.reserve(app_.languageNames.size() + 1);
    entries.push_back(Str(142));
    entries.insert(entries.end(), app_.languageNames.begin(), app_.languageNames.end());
    language_->clear();
    for (const auto& e : entries) language_->addItem(Q(e));
    language_->setCurrentIndex(
        LanguageEntryFor(entries, app_.GetString(keys::kSetting, keys::kSelectLanguage, "")));

    for (std::size_t i = 0; i < systems_.size(); ++i)
        systems_[i]->setChecked(
            app_.GetInt(keys::kSetting, kEnableKeys[i], keys::kDefEnableOld) != 0);

    WipeString(shownRun_);
    WipeString(shownPay_);
    shownRun_ = app_.UnlockPassword();
    Decipher(app_.StoredPass2(), app_.UnlockPassword(), shownPay_);
    runPass_->setText(Q(shownRun_));
    payPass_->setText(Q(shownPay_));

    const ProxyParts proxy = SplitProxy(app_.GetString(keys::kSetting, keys::kProxyServer, ""));
    proxyHost_->setText(Q(proxy.host));
    proxyPort_->setText(Q(proxy.port));
    proxyUser_->setText(Q(app_.GetString(keys::kSetting, keys::kProxyUserName, "")));
    std::string proxyPass = app_.GetSecret(keys::kSetting, keys::kProxyPass);
    proxyPass_->setText(Q(proxyPass));
    WipeString(proxyPass);

    checkNewVersion_->setChecked(
        app_.GetInt(keys::kSetting, keys::kCheckNewVersion, keys::kDefCheckNewVersion) != 0);
    dateOnLastVisit_->setChecked(app_.GetInt(keys::kSetting, keys::kSetDateOnLastVisit,
                                             keys::kDefSetDateOnLastVisit) != 0);
    hideLastDigit_->setChecked(
        app_.GetInt(keys::kSetting, keys::kHideLastDigit, keys::kDefHideLastDigit) != 0);
    hideDigits_->setText(QString::number(app_.GetInt(keys::kSetting, keys::kHideLastDigitValue,
                                                     keys::kDefHideLastDigitValue)));
    hideDigits_->setEnabled(hideLastDigit_->isChecked());
}

void CSetting::OnHideLastDigitClicked() { hideDigits_->setEnabled(hideLastDigit_->isChecked()); }

void CSetting::OnHideDigitsLeft() {
    // A text that is no number stays as typed; OK refuses it.
    if (const auto value = ParseFieldInt(S(hideDigits_->text())))
        hideDigits_->setText(QString::number(ClampHiddenDigits(*value)));
}

void CSetting::accept() {
    // The integer field check comes before any value is taken.
    const auto typedHide = ParseFieldInt(S(hideDigits_->text()));
    if (!typedHide) {
        ui_.Message(kEnterInteger);
        if (hideDigits_->isEnabled()) {
            hideDigits_->setFocus(Qt::OtherFocusReason);
            hideDigits_->selectAll();
        }
        return;
    }
    // Kept within 0..5 even when the field was not left (or the file held more).
    const int hideValue = ClampHiddenDigits(*typedHide);
    hideDigits_->setText(QString::number(hideValue));

    // 1. The old passwords are those shown; the new ones and everything else come from the
    // controls.
    std::string newRun = S(runPass_->text());
    std::string newPay = S(payPass_->text());

    // 2. The values in the file before this OK.
    std::array<int32_t, 4> oldEnable{};
    for (std::size_t i = 0; i < oldEnable.size(); ++i)
        oldEnable[i] = app_.GetInt(keys::kSetting, kEnableKeys[i], keys::kDefEnableOld);
    const std::string oldLanguage = app_.GetString(keys::kSetting, keys::kSelectLanguage, "");

    // 3. Language.
    const std::string newLanguage =
        LanguageSettingFor(app_.languageNames, language_->currentIndex());
    app_.WriteString(keys::kSetting, keys::kSelectLanguage, newLanguage);

    // 4. Payment systems.
    bool enableChanged = false;
    for (std::size_t i = 0; i < systems_.size(); ++i) {
        const int32_t flag = systems_[i]->isChecked() ? 1 : 0;
        app_.WriteInt(keys::kSetting, kEnableKeys[i], flag);
        enableChanged = enableChanged || flag != oldEnable[i];
    }

    // 5. Passwords, through the master-key procedure.
    if (newRun != shownRun_ || newPay != shownPay_)
        app_.Pw().ChangePasswords(shownRun_, shownPay_, newRun, newPay);
    WipeString(newRun);
    WipeString(newPay);

    // 6. Proxy; its password under the unlock password step 5 may just have changed.
    app_.WriteString(keys::kSetting, keys::kProxyServer,
                     JoinProxy(S(proxyHost_->text()), S(proxyPort_->text())));
    app_.WriteString(keys::kSetting, keys::kProxyUserName, S(proxyUser_->text()));
    std::string proxyPass = S(proxyPass_->text());
    app_.WriteSecret(keys::kSetting, keys::kProxyPass, proxyPass);
    WipeString(proxyPass);

    // 7. Display options.
    app_.WriteInt(keys::kSetting, keys::kCheckNewVersion, checkNewVersion_->isChecked() ? 1 : 0);
    app_.WriteInt(keys::kSetting, keys::kSetDateOnLastVisit,
                  dateOnLastVisit_->isChecked() ? 1 : 0);
    app_.WriteInt(keys::kSetting, keys::kHideLastDigit, hideLastDigit_->isChecked() ? 1 : 0);
    app_.WriteInt(keys::kSetting, keys::kHideLastDigitValue, hideValue);

    // 8. Language and tabs take effect at the next start.
    if (newLanguage != oldLanguage || enableChanged) ui_.Message(Str(143));

    // 9.
    QDialog::accept();
}

void CSetting::showEvent(QShowEvent* event) {
    // A window system's own show (restore after minimising) keeps what is being edited.
    if (!event->spontaneous()) LoadValues();
    QDialog::showEvent(event);
}

void CSetting::done(int result) {
    ClearPasswordFields();
    WipeString(shownRun_);
    WipeString(shownPay_);
    QDialog::done(result);
}

void CSetting::ClearPasswordFields() {
    ClearEdit(runPass_);
    ClearEdit(payPass_);
    ClearEdit(proxyPass_);
}

}  // namespace pw
