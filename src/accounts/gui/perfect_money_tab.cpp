#include "accounts/gui/perfect_money_tab.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>

#include "accounts/gui/account_tab_util.h"
#include "accounts/pm/pm_client.h"
#include "app/purseward_app.h"

namespace pw {

using namespace tabutil;

CPerfectMoneyDlg::CPerfectMoneyDlg(CPursewardApp& app, TabHost& host, QWidget* parent)
    : CPerfectMoneyDlg(MakePerfectMoneyClient(app.Settings()), app, host, parent) {}

CPerfectMoneyDlg::CPerfectMoneyDlg(std::unique_ptr<PmClient> client, CPursewardApp& app,
                                   TabHost& host, QWidget* parent)
    : CAccountTab(std::move(client), app, host, parent), clock_(app.GetClock()) {
    Init();
    connect(accountCheck_, &QCheckBox::clicked, this,
            [this](bool ticked) { OnAccountBoxClicked(ticked); });
    // Perfect Money account numbers are upper case ("U1234567").
    connect(counterpartEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text) return;
        const int cursor = counterpartEdit_->cursorPosition();
        counterpartEdit_->setText(upper);
        counterpartEdit_->setCursorPosition(cursor);
    });
}

PmClient& CPerfectMoneyDlg::Pm() { return static_cast<PmClient&>(Client()); }

Date CPerfectMoneyDlg::UtcToday() const {
    const std::tm tm = clock_.UtcNow();
    return Date{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday};
}

void CPerfectMoneyDlg::UpdateFilterControls() {
    getLastCheck_->setChecked(false);
    fromToCheck_->setChecked(true);
    fromToCheck_->setEnabled(false);
    for (QWidget* w : {static_cast<QWidget*>(fromDate_), static_cast<QWidget*>(toDate_),
                       static_cast<QWidget*>(accountCheck_),
                       static_cast<QWidget*>(counterpartEdit_),
                       static_cast<QWidget*>(batchCheck_), static_cast<QWidget*>(batchEdit_)})
        w->setEnabled(true);
}

FilterCheck CPerfectMoneyDlg::CheckFilter(HistoryFilter& filter) const {
    FilterCheck check = CAccountTab::CheckFilter(filter);
    if (check.stop) return check;
    filter.getLast = false;
    filter.fromTo = true;
    filter.from = pm::FromDateNotInFuture(filter.from, UtcToday());
    return check;
}

void CPerfectMoneyDlg::OnAccountBoxClicked(bool ticked) {
    const pm::DateRange shown{FromQDate(fromDate_->date()), FromQDate(toDate_->date())};
    const pm::AccountBoxDates d = pm::OnAccountBoxClicked(ticked, {shown, old_}, Today());
    old_ = d.old;
    fromDate_->setDate(ToQDate(d.shown.from));
    toDate_->setDate(ToQDate(d.shown.to));
}

void CPerfectMoneyDlg::GetHistoryForAccount() {
    const int row = SelectedHistoryRow();
    if (row < 0 || static_cast<std::size_t>(row) >= HistoryRows().size()) return;
    const pm::HistoryForAccount h =
        pm::ForAccountOfRow(std::string(HistoryRows()[static_cast<std::size_t>(row)]), TakeFilter(), Today());
    old_ = h.dates.old;
    ShowFilter(h.filter);
    UpdateFilterControls();
    GetHistory();
}

void CPerfectMoneyDlg::LoadExtraState() {
    const Date today = Today();
    old_.from = ParseSettingsDate(SettingsString(Keys().filterDateFromOld, "")).value_or(today);
    old_.to = ParseSettingsDate(SettingsString(Keys().filterDateToOld, "")).value_or(today);
}

void CPerfectMoneyDlg::SaveExtraState() {
    WriteSettingsString(Keys().filterDateFromOld, FormatSettingsDate(old_.from));
    WriteSettingsString(Keys().filterDateToOld, FormatSettingsDate(old_.to));
}

}  // namespace pw
