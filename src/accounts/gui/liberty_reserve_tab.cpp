#include "accounts/gui/liberty_reserve_tab.h"

#include "accounts/lr/lr_client.h"
#include "accounts/tab_host.h"
#include "app/purseward_app.h"

namespace pw {

CLibertyReserveDlg::CLibertyReserveDlg(CPursewardApp& app, TabHost& host, QWidget* parent)
    : CLibertyReserveDlg(MakeLibertyReserveClient(app.Settings()), app, host, parent) {}

CLibertyReserveDlg::CLibertyReserveDlg(std::unique_ptr<LrClient> client, CPursewardApp& app,
                                       TabHost& host, QWidget* parent)
    : CAccountTab(std::move(client), app, host, parent) {
    Init();
}

LrClient& CLibertyReserveDlg::Lr() { return static_cast<LrClient&>(Client()); }

}  // namespace pw
