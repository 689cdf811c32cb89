#pragma once
// The ECUMoney tab: a minimal account tab (Login and Get History only) on the ECUMoney
// client. The history answer is written to the event log, not shown. "From/To Date" is never
// offered (the interface takes no dates), and until the login the focus waits in the first
// login field still empty.
#include <memory>

#include "accounts/gui/account_tab.h"

namespace pw {

class EcuClient;

class CECUMoneyDlg : public CAccountTab {
    Q_OBJECT
public:
    // The client's host comes from "ECUHost" of the settings.
    CECUMoneyDlg(CPursewardApp& app, TabHost& host, QWidget* parent = nullptr);
    // With a client made by the caller (tests).
    CECUMoneyDlg(std::unique_ptr<EcuClient> client, CPursewardApp& app, TabHost& host,
                 QWidget* parent = nullptr);

    // As every tab, and "From/To Date" stays disabled.
    void UpdateFilterControls() override;

protected:
    void FetchHistory(const LoginFields& login, const HistoryFilter& filter) override;
    void ShowHistoryAnswer(const ParsedAnswer&) override {}
    FilterCheck CheckFilter(HistoryFilter& filter) const override;
    // The filter controls are updated at the start and by Get History.
    bool UpdateOnGetLastClick() const override { return false; }
    void showEvent(QShowEvent* event) override;
};

}  // namespace pw
