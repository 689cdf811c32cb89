#include "accounts/vm/vm_client.h"

namespace pw {

const SystemTraits& VMoneyTraits() {
    static const SystemTraits traits = [] {
        SystemTraits t;
        t.systemIndex = 2;
        t.prefix = "VM";
        t.systemName = "V-Money";
        t.full = true;
        t.balanceColumns = {
            {"Currency", Align::Center, 100},
            {"Value", Align::Right, 80, "%.2f"},
            {"UpdateDate", Align::Center, 150},
        };
        t.historyColumns = {
            {"Date", Align::Center, 110},    {"TransType", Align::Center, 80},
            {"From/To", Align::Center, 110}, {"Amount", Align::Right, 50, "%.2f", true, true},
            {"Batch", Align::Center, 60},    {"Memo", Align::Left, 150},
        };
        t.balanceTableFile = "VMBalance.set";
        t.historyTableFile = "VMHistory.set";
        t.currencies = {"USD"};
        t.accountLabel = "Account ID";
        t.apiNameLabel = "Pin number";
        t.secretLabel = "Password";
        t.counterpartLabel = "";  // no account filter on this tab
        t.batchLabel = "VM-Batch #";
        t.msgNoAccount = 132;
        t.msgNoApiName = 140;
        t.msgNoSecret = 112;
        t.msgNoCounterpart = 0;
        t.msgNoBatch = 117;
        t.hasApiName = true;  // the PIN takes the place of the API name
        // payee, amount, memo, scheduled, due time, send if failed, payer text, failed mark
        t.scheduleFieldCount = 8;
        t.scheduleDueField = 4;
        t.historyAmountColumn = 3;
        t.historyCounterpartColumn = 2;
        // Date, TransType, From/To (masked), Amount, Batch, Memo, each line ended by CR LF.
        t.record = VMoneyRecord();
        t.change = ChangeFields{0, 1, 1};
        return t;
    }();
    return traits;
}

}  // namespace pw
