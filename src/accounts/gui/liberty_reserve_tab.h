#pragma once
// The Liberty Reserve tab: the account tab on the Liberty Reserve client.
#include <memory>
#include <string>

#include "accounts/gui/account_tab.h"

namespace pw {

class LrClient;

class CLibertyReserveDlg : public CAccountTab {
    Q_OBJECT
public:
    // The client's host comes from "LRHost" of the settings.
    CLibertyReserveDlg(CPursewardApp& app, TabHost& host, QWidget* parent = nullptr);
    // With a client made by the caller (tests).
    CLibertyReserveDlg(std::unique_ptr<LrClient> client, CPursewardApp& app, TabHost& host,
                       QWidget* parent = nullptr);

    LrClient& Lr();
};

}  // namespace pw
