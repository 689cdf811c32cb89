#include "accounts/gui/gdp_tab.h"

#include "accounts/gdp/gdp_client.h"
#include "accounts/query_value.h"
#include "app/purseward_app.h"

namespace pw {

CGDPDlg::CGDPDlg(CPursewardApp& app, TabHost& host, QWidget* parent)
    : CGDPDlg(MakeGdpClient(app.Settings()), app, host, parent) {}

CGDPDlg::CGDPDlg(std::unique_ptr<GdpClient> client, CPursewardApp& app, TabHost& host,
                 QWidget* parent)
    : CAccountTab(std::move(client), app, host, parent) {
    Init();
}

bool CGDPDlg::Step(TabStep step, const LoginFields& login) {
    const char* trace = nullptr;
    switch (step) {
        case TabStep::LoginStart: trace = gdp::kLoginStart; break;
        case TabStep::LoginChecked: trace = gdp::kLoginSaveDlgValue; break;
        case TabStep::BalanceRows: trace = gdp::kLoginBalanceReceived; break;
        case TabStep::LoggedInTimers: trace = gdp::kLoginSetTimer; break;
        case TabStep::LoggedInBanner: trace = gdp::kLoginShowBanner; break;
        case TabStep::BalanceShown: trace = gdp::kLoginFillTable; break;
        default: break;
    }
    if (trace != nullptr) App().WriteLog(trace);
    return CAccountTab::Step(step, login);
}

// The request URL carries the key: it is never logged, and the key is masked in the answer.
void CGDPDlg::FetchBalance(const LoginFields& login) {
    App().WriteLog(gdp::kLoginFormXmlBalance);
    const SecureString url = Client().BalanceUrl(login, App().GetClock().Now());
    App().WriteLog(gdp::kLoginSendData);
    const std::string answer = Request(url);
    App().WriteLogAnswer(answer, SecretForms(login.secret));
    App().WriteLog(gdp::kLoginTransformXml);
    Client().Parse(answer, RequestKind::Balance, true);
}

// The history answer is logged only: it is not parsed and changes no table.
void CGDPDlg::FetchHistory(const LoginFields& login, const HistoryFilter& filter) {
    const SecureString url = Client().HistoryUrl(login, filter, 0, App().GetClock().Now());
    App().WriteLog(gdp::kHistorySendData);
    App().WriteLogAnswer(Request(url), SecretForms(login.secret));
}

}  // namespace pw
