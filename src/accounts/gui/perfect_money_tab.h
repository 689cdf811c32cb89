#pragma once
// The Perfect Money tab: the account tab on the Perfect Money client. The history always
// carries a date range ("From/To Date" ticked and disabled), there is no "Get last", and the
// "PM-Account" box shows the whole history of 1 January 2007 to today while it is ticked,
// remembering the range it replaced.
#include <memory>

#include "accounts/gui/account_tab.h"
#include "accounts/pm/pm_requests.h"

namespace pw {

class Clock;
class PmClient;

class CPerfectMoneyDlg : public CAccountTab {
    Q_OBJECT
public:
    // The client's host comes from "PMHost" of the settings.
    CPerfectMoneyDlg(CPursewardApp& app, TabHost& host, QWidget* parent = nullptr);
    // With a client made by the caller (tests).
    CPerfectMoneyDlg(std::unique_ptr<PmClient> client, CPursewardApp& app, TabHost& host,
                     QWidget* parent = nullptr);

    PmClient& Pm();
    // The range the "PM-Account" box brings back when it is cleared.
    const pm::DateRange& OldDates() const { return old_; }

    void UpdateFilterControls() override;
    // "PM-Account" with the row's whole From/To text, the batch filter cleared, the range of
    // the box; the shown range is remembered.
    void GetHistoryForAccount() override;

protected:
    // After the common checks: the date range is always sent, and a from-date after today's
    // UTC date becomes that date without a message.
    FilterCheck CheckFilter(HistoryFilter& filter) const override;
    void LoadExtraState() override;
    void SaveExtraState() override;

private:
    void OnAccountBoxClicked(bool ticked);
    Date UtcToday() const;

    Clock& clock_;
    pm::DateRange old_;
};

}  // namespace pw
