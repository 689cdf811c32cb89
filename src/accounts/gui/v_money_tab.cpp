#include "accounts/gui/v_money_tab.h"

#include <QCheckBox>
#include <QLineEdit>

#include "accounts/vm/vm_client.h"
#include "app/purseward_app.h"

namespace pw {

CVMoneyDlg::CVMoneyDlg(CPursewardApp& app, TabHost& host, QWidget* parent)
    : CVMoneyDlg(MakeVMoneyClient(app.Settings()), app, host, parent) {}

CVMoneyDlg::CVMoneyDlg(std::unique_ptr<VmClient> client, CPursewardApp& app, TabHost& host,
                       QWidget* parent)
    : CAccountTab(std::move(client), app, host, parent) {
    Init();
    batchEdit_->setAlignment(Qt::AlignCenter);
}

VmClient& CVMoneyDlg::Vm() { return static_cast<VmClient&>(Client()); }

void CVMoneyDlg::UpdateFilterControls() {
    CAccountTab::UpdateFilterControls();
    fromToCheck_->setChecked(true);
    fromToCheck_->setEnabled(false);
}

std::vector<MenuItem> CVMoneyDlg::HistoryMenu() const {
    std::vector<MenuItem> items = CAccountTab::HistoryMenu();
    if (MenuItem* item = FindItem(items, TabCommand::HistoryForAccount)) item->enabled = false;
    return items;
}

void CVMoneyDlg::FetchBalance(const LoginFields& login) {
    const std::time_t now = App().GetClock().Now();
    Vm().Parse(Request(Vm().BalanceUrl(login, now)), now);
}

}  // namespace pw
