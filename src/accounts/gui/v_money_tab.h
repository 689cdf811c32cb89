#pragma once
// The V-Money tab: the account tab on the V-Money client. Its login fields are the Account
// ID, the PIN and the password; its history always asks for a date range and may narrow it
// to one batch; it has no "Get last" option, no account filter and no history per account.
#include <memory>

#include "accounts/gui/account_tab.h"

namespace pw {

class VmClient;

class CVMoneyDlg : public CAccountTab {
    Q_OBJECT
  public:
    // The client's host comes from "VMHost" of the settings.
    CVMoneyDlg(CPursewardApp& app, TabHost& host, QWidget* parent = nullptr);
    // With a client made by the caller (tests).
    CVMoneyDlg(std::unique_ptr<VmClient> client, CPursewardApp& app, TabHost& host,
               QWidget* parent = nullptr);

    VmClient& Vm();

    // "From/To Date" stays ticked and cannot be unticked; the dates and the batch option are
    // always open.
    void UpdateFilterControls() override;
    // There is no account filter: "Get history for account" is disabled and does nothing.
    std::vector<MenuItem> HistoryMenu() const override;
    void GetHistoryForAccount() override {}

  protected:
    // The update time of the balance rows is taken from the program's clock.
    void FetchBalance(const LoginFields& login) override;
};

}  // namespace pw
