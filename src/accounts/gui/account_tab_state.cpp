// The settings section of the account tab and the values of its login and filter controls.
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>

#include "accounts/gui/account_tab.h"
#include "accounts/gui/account_tab_util.h"
#include "accounts/gui/table_models.h"
#include "app/purseward_app.h"
#include "settings/settings_store.h"
#include "ui/base/modal_ui.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {

using namespace tabutil;

namespace {

std::string SaveFailureMessage(const std::string& section, const SettingsBatch& batch,
                               const std::string& settingsPath) {
    QString why;
    if (batch.Failed() == SettingsBatch::Failure::kSecretTooLong)
        why = Purseward::tr("%1 is too long to be stored enciphered.").arg(Q(batch.FailedKey()));
    else if (batch.Failed() == SettingsBatch::Failure::kNoCipher)
        why = Purseward::tr("%1 could not be enciphered.").arg(Q(batch.FailedKey()));
    else if (batch.Failed() == SettingsBatch::Failure::kFileTooLarge)
        why = Purseward::tr("the settings file %1 is %2 bytes long, more than the %3 bytes it can "
                            "read. The file was not changed.")
                  .arg(Q(settingsPath))
                  .arg(static_cast<qulonglong>(batch.FileSize()))
                  .arg(static_cast<qulonglong>(kIniMaxBytes));
    else
        why = Purseward::tr("the settings file could not be written.");
    return Purseward::tr("The settings of [%1] were not saved, the old ones still hold: %2")
        .arg(Q(section), why)
        .toStdString();
}

}  // namespace

int CAccountTab::SettingsInt(const char* key, int def) const {
    return Has(key) ? app_.GetInt(keys_.section, key, def) : def;
}
std::string CAccountTab::SettingsString(const char* key, const std::string& def) const {
    return Has(key) ? app_.GetString(keys_.section, key, def) : def;
}
void CAccountTab::WriteSettingsInt(const char* key, int value) {
    if (!Has(key)) return;
    if (saving_) saving_->WriteInt(keys_.section, key, value);
    else app_.WriteInt(keys_.section, key, value);
}
void CAccountTab::WriteSettingsString(const char* key, const std::string& value) {
    if (!Has(key)) return;
    if (saving_) saving_->WriteString(keys_.section, key, value);
    else app_.WriteString(keys_.section, key, value);
}

Date CAccountTab::Today() const {
    const std::tm tm = app_.GetClock().LocalNow();
    return Date{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

std::vector<std::string> CAccountTab::SavedAccountKeys() const {
    std::vector<std::string> out;
    for (const char* k : {keys_.account, keys_.apiName, keys_.save, keys_.pin, keys_.pass})
        if (Has(k)) out.emplace_back(k);
    return out;
}

void CAccountTab::LoadState() {
    // A logged-in tab keeps the schedule it shares with the other tabs of its account.
    if (!loggedIn_) schedule_ = std::make_shared<AccountSchedule>();
    WipeTexts(savedAccounts_);

    // The columns hold the saved passwords, deciphered: every copy that is let go is wiped.
    TextList columns;
    const std::vector<std::string> keys = SavedAccountKeys();
    columns.reserve(keys.size());
    for (const std::string& k : keys) columns.push_back(app_.GetSecret(keys_.section, k));
    savedAccounts_ = SavedRowsFromColumns(columns);

    std::string last = Has(keys_.accountLast) ? app_.GetSecret(keys_.section, keys_.accountLast)
                                              : std::string();
    if (last.empty() && !columns.empty() && !HoldsFieldSeparator(columns[0])) last = columns[0];
    if (!last.empty()) {
        for (const std::string& row : savedAccounts_) {
            TextList f = Split(row, "~");
            const bool found = f[0] == last;
            if (found) FillFromSavedRow(f);
            WipeTexts(f);
            if (found) break;
        }
    }
    WipeTexts(columns);

    const Date today = Today();
    HistoryFilter f;
    f.getLast = SettingsInt(keys_.checkGetLast, keys::kDefCheckGetLast) != 0 &&
                Has(keys_.checkGetLast);
    f.count = SettingsInt(keys_.filterLastOperCount, keys::kDefFilterLastOperCount);
    f.fromTo = SettingsInt(keys_.checkFromToDate, keys::kDefCheckFromToDate) != 0;
    f.from = ParseSettingsDate(SettingsString(keys_.filterDateFrom, "")).value_or(today);
    f.to = ParseSettingsDate(SettingsString(keys_.filterDateTo, "")).value_or(today);
    f.byAccount = SettingsInt(keys_.checkAccount, keys::kDefCheckAccount) != 0;
    f.counterpart = SettingsString(keys_.filterAccount, "");
    f.byBatch = SettingsInt(keys_.checkBatch, keys::kDefCheckBatch) != 0;
    f.batch = SettingsString(keys_.filterBatch, "");
    autoRefreshMinutes_ = SettingsInt(keys_.autoRefresh, keys::kDefAutoRefresh);

    if (app_.GetInt(keys::kSetting, keys::kSetDateOnLastVisit, keys::kDefSetDateOnLastVisit) ==
        1) {
        f.getLast = false;
        f.fromTo = true;
        f.from = ParseSettingsDate(app_.GetString(keys::kSetting, keys::kLastVisitDate, ""))
                     .value_or(today);
        f.to = today;
    }
    // A stored value holding "~" cannot be typed; it is not taken into a request either.
    if (HoldsFieldSeparator(f.counterpart)) f.counterpart.clear();
    if (HoldsFieldSeparator(f.batch)) f.batch.clear();
    ShowFilter(f);
    LoadExtraState();
    UpdateFilterControls();
}

void CAccountTab::SaveState() {
    if (accountEdit_ == nullptr) return;  // not initialised
    // The tab's section is one change: stored whole, or not at all.
    SettingsBatch batch(app_.Settings());
    saving_ = &batch;
    const std::vector<std::string> keys = SavedAccountKeys();
    TextList columns = ColumnsFromSavedRows(savedAccounts_, keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        batch.WriteSecret(keys_.section, keys[i], columns[i]);
    WipeTexts(columns);

    const HistoryFilter f = TakeFilter();
    if (Has(keys_.accountLast))
        batch.WriteSecret(keys_.section, keys_.accountLast, TakeLoginFields().account);
    WriteSettingsInt(keys_.checkGetLast, f.getLast ? 1 : 0);
    WriteSettingsInt(keys_.filterLastOperCount, f.count);
    WriteSettingsInt(keys_.checkFromToDate, f.fromTo ? 1 : 0);
    WriteSettingsString(keys_.filterDateFrom, FormatSettingsDate(f.from));
    WriteSettingsString(keys_.filterDateTo, FormatSettingsDate(f.to));
    WriteSettingsInt(keys_.checkAccount, f.byAccount ? 1 : 0);
    WriteSettingsString(keys_.filterAccount, f.counterpart);
    WriteSettingsInt(keys_.checkBatch, f.byBatch ? 1 : 0);
    WriteSettingsString(keys_.filterBatch, f.batch);
    WriteSettingsInt(keys_.autoRefresh, autoRefreshMinutes_);
    SaveExtraState();
    saving_ = nullptr;
    if (!batch.Commit()) Ui().Message(SaveFailureMessage(keys_.section, batch, app_.Settings().Path()));

    // The widths set by hand, or the defaults while the columns follow their content.
    auto widthOf = [](QTableView* v) {
        const ColumnFitter* fit = ColumnFitter::Of(v);
        return [v, fit](int i) {
            if (fit != nullptr) return fit->WidthToStore(i);
            return i < v->model()->columnCount() ? v->columnWidth(i) : 0;
        };
    };
    if (balanceView_->model() != nullptr) SaveColumnWidths(balance_, widthOf(balanceView_));
    if (historyView_->model() != nullptr) SaveColumnWidths(history_, widthOf(historyView_));
}

// ---- Fields ------------------------------------------------------------------------------

LoginFields CAccountTab::TakeLoginFields() const {
    return LoginFields{S(accountEdit_->text()), SecureS(apiNameEdit_->text()),
                       SecureS(secretEdit_->text())};
}

void CAccountTab::ShowLoginFields(const LoginFields& login) {
    accountEdit_->setText(Q(login.account));
    apiNameEdit_->setText(QSecure(login.apiName));
    secretEdit_->setText(QSecure(login.secret));
}

std::string CAccountTab::LoginMessage(const LoginFields& login) const {
    return LoginProblem(login, traits_).Text();
}

FilterCheck CAccountTab::CheckFilter(HistoryFilter& filter) const {
    return CheckHistoryFilter(filter, traits_, Has(keys_.checkGetLast));
}

void CAccountTab::FillFromSavedRow(const TextList& fields) {
    const std::vector<std::string> keys = SavedAccountKeys();
    auto field = [&](const char* key) {
        if (!Has(key)) return std::string();
        const auto it = std::find(keys.begin(), keys.end(), std::string(key));
        const auto i = static_cast<std::size_t>(it - keys.begin());
        return it != keys.end() && i < fields.size() ? fields[i] : std::string();
    };
    // The saved row's fields are taken without a plain copy: the PIN and the password.
    auto secureField = [&](const char* key) {
        if (!Has(key)) return SecureString();
        const auto it = std::find(keys.begin(), keys.end(), std::string(key));
        const auto i = static_cast<std::size_t>(it - keys.begin());
        return it != keys.end() && i < fields.size() ? SecureString(fields[i]) : SecureString();
    };
    const bool saved = field(keys_.save).find("true") != std::string::npos;
    LoginFields login;
    login.account = field(keys_.account);
    login.apiName = Has(keys_.apiName) ? secureField(keys_.apiName)
                                       : (saved ? secureField(keys_.pin) : SecureString());
    login.secret = saved ? secureField(keys_.pass) : SecureString();
    ShowLoginFields(login);
}

void CAccountTab::FillFromSavedAccount(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= savedAccounts_.size()) return;
    TextList fields = Split(savedAccounts_[static_cast<std::size_t>(index)], "~");
    FillFromSavedRow(fields);
    WipeTexts(fields);
}

HistoryFilter CAccountTab::TakeFilter() const {
    HistoryFilter f;
    f.getLast = getLastCheck_->isChecked() && Has(keys_.checkGetLast);
    f.count = countEdit_->text().toInt();
    f.fromTo = fromToCheck_->isChecked();
    f.from = FromQDate(fromDate_->date());
    f.to = FromQDate(toDate_->date());
    f.byAccount = accountCheck_->isChecked();
    f.counterpart = S(counterpartEdit_->text());
    f.byBatch = batchCheck_->isChecked();
    f.batch = S(batchEdit_->text());
    return f;
}

void CAccountTab::ShowFilter(const HistoryFilter& f) {
    getLastCheck_->setChecked(f.getLast);
    countEdit_->setText(QString::number(f.count));
    fromToCheck_->setChecked(f.fromTo);
    fromDate_->setDate(ToQDate(f.from));
    toDate_->setDate(ToQDate(f.to));
    accountCheck_->setChecked(f.byAccount);
    counterpartEdit_->setText(Q(f.counterpart));
    batchCheck_->setChecked(f.byBatch);
    batchEdit_->setText(Q(f.batch));
}

void CAccountTab::UpdateFilterControls() {
    const bool last = getLastCheck_->isChecked();
    if (last) {
        fromToCheck_->setChecked(false);
        accountCheck_->setChecked(false);
        batchCheck_->setChecked(false);
    }
    for (QWidget* w : {static_cast<QWidget*>(fromToCheck_), static_cast<QWidget*>(accountCheck_),
                       static_cast<QWidget*>(batchCheck_), static_cast<QWidget*>(fromDate_),
                       static_cast<QWidget*>(toDate_), static_cast<QWidget*>(counterpartEdit_),
                       static_cast<QWidget*>(batchEdit_)})
        w->setEnabled(!last);
    countEdit_->setEnabled(last);
}

bool CAccountTab::CheckLogin(const LoginFields& login) {
    const std::string message = LoginMessage(login);
    if (!message.empty()) {
        Ui().Message(message);
        return false;
    }
    if (!IsSafeAccount(login.account)) {
        Ui().Message(kUnsafeAccountMessage);
        return false;
    }
    return true;
}

}  // namespace pw
