#pragma once
// The GDP tab: a minimal account tab (Login and Get History only) on the GDP client. Every
// step of the login and of the history request is traced into the event log, with the
// answers; the history answer is logged, not shown.
#include <memory>

#include "accounts/gui/account_tab.h"

namespace pw {

class GdpClient;

class CGDPDlg : public CAccountTab {
    Q_OBJECT
public:
    // The client's host comes from "GDPHost" of the settings.
    CGDPDlg(CPursewardApp& app, TabHost& host, QWidget* parent = nullptr);
    // With a client made by the caller (tests).
    CGDPDlg(std::unique_ptr<GdpClient> client, CPursewardApp& app, TabHost& host,
            QWidget* parent = nullptr);

protected:
    bool Step(TabStep step, const LoginFields& login) override;
    void FetchBalance(const LoginFields& login) override;
    void FetchHistory(const LoginFields& login, const HistoryFilter& filter) override;
    void ShowHistoryAnswer(const ParsedAnswer&) override {}
    // The filter is kept in the settings but no request uses it: nothing to check.
    FilterCheck CheckFilter(HistoryFilter&) const override { return {}; }
    // The filter controls are updated once, when the tab is built.
    bool UpdateOnGetLastClick() const override { return false; }
    bool UpdateFiltersOnHistory() const override { return false; }
};

}  // namespace pw
