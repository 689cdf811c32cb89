#include "accounts/gui/liberty_reserve_tab.h"

#include "accounts/gui/wait_cursor.h"
#include "accounts/lr/lr_client.h"
#include "accounts/tab_host.h"
#include "app/purseward_app.h"
#include "net/transport.h"

namespace pw {

CLibertyReserveDlg::CLibertyReserveDlg(CPursewardApp& app, TabHost& host, QWidget* parent)
    : CLibertyReserveDlg(MakeLibertyReserveClient(app.Settings()), app, host, parent) {}

CLibertyReserveDlg::CLibertyReserveDlg(std::unique_ptr<LrClient> client, CPursewardApp& app,
                                       TabHost& host, QWidget* parent)
    : CAccountTab(std::move(client), app, host, parent) {
    Init();
}

LrClient& CLibertyReserveDlg::Lr() { return static_cast<LrClient&>(Client()); }

namespace {
// The main window's requests as the client's transport.
class HostTransport : public Transport {
public:
    explicit HostTransport(TabHost& host) : host_(host) {}
    std::string HttpsGet(const std::string& url) override { return host_.HttpsGet(url); }
    std::string HttpGet(const std::string& url) override { return host_.HttpGet(url); }

private:
    TabHost& host_;
};
}  // namespace

std::string CLibertyReserveDlg::GetAccountName(const std::string& account) {
    if (account.empty()) return std::string();
    HostTransport transport(Host());
    RequestScope wait(Host(), Traits().systemName);
    return Lr().GetAccountName(transport, CurrentLogin(), account, App().GetClock().Now(), Ui());
}

}  // namespace pw
