#include "accounts/gui/account_tab_api.h"
#include "accounts/gui/e_gold_tab.h"
#include "accounts/gui/ecu_money_tab.h"
#include "accounts/gui/gdp_tab.h"
#include "accounts/gui/liberty_reserve_tab.h"
#include "accounts/gui/perfect_money_tab.h"
#include "accounts/gui/v_money_tab.h"

namespace pw {

AccountTabWidget* CreateAccountTab(int systemIndex, CPursewardApp& app, TabHost& host,
                                   QWidget* parent) {
    if (systemIndex == 0) return new CLibertyReserveDlg(app, host, parent);
    if (systemIndex == 1) return new CPerfectMoneyDlg(app, host, parent);
    if (systemIndex == 3) return new CEGoldDlg(app, host, parent);
    if (systemIndex == 4) return new CGDPDlg(app, host, parent);
    if (systemIndex == 5) return new CECUMoneyDlg(app, host, parent);
    if (systemIndex == 2) return new CVMoneyDlg(app, host, parent);
    return new AccountTabWidget(systemIndex, parent);
}

}  // namespace pw
