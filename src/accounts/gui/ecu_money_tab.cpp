#include "accounts/gui/ecu_money_tab.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "accounts/ecu/ecu_client.h"
#include "accounts/query_value.h"
#include "app/purseward_app.h"

namespace pw {

CECUMoneyDlg::CECUMoneyDlg(CPursewardApp& app, TabHost& host, QWidget* parent)
    : CECUMoneyDlg(MakeEcuClient(app.Settings()), app, host, parent) {}

CECUMoneyDlg::CECUMoneyDlg(std::unique_ptr<EcuClient> client, CPursewardApp& app,
                           TabHost& host, QWidget* parent)
    : CAccountTab(std::move(client), app, host, parent) {
    Init();
}

void CECUMoneyDlg::UpdateFilterControls() {
    CAccountTab::UpdateFilterControls();
    fromToCheck_->setEnabled(false);
}

// The interface takes no count: a count above 50 is kept as typed, without message 115.
FilterCheck CECUMoneyDlg::CheckFilter(HistoryFilter& filter) const {
    const int count = filter.count;
    FilterCheck check = CAccountTab::CheckFilter(filter);
    filter.count = count;
    std::erase(check.messages, TabMessage(115));
    return check;
}

// The URL carries the password: it is never logged, and the password is masked in the answer.
// The answer's errors are not shown.
void CECUMoneyDlg::FetchHistory(const LoginFields& login, const HistoryFilter& filter) {
    const std::string answer =
        Request(Client().HistoryUrl(login, filter, 0, App().GetClock().Now()));
    App().WriteLogAnswer(answer, SecretForms(login.secret));
    Client().Parse(answer, RequestKind::History, true);
}

void CECUMoneyDlg::showEvent(QShowEvent* event) {
    CAccountTab::showEvent(event);
    fromToCheck_->setEnabled(false);
    if (IsLoggedIn()) return;
    if (accountEdit_->text().isEmpty())
        accountEdit_->setFocus();
    else if (secretEdit_->text().isEmpty())
        secretEdit_->setFocus();
    else
        loginButton_->setFocus();
}

}  // namespace pw
