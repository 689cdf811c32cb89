#include "accounts/pm/pm_client.h"

namespace pw {

const SystemTraits& PerfectMoneyTraits() {
    static const SystemTraits traits = [] {
        SystemTraits t;
        t.systemIndex = 1;
        t.prefix = "PM";
        t.systemName = "Perfect Money";
        t.full = true;
        t.balanceColumns = {
            {"Account No", Align::Center, 100},
            {"Value", Align::Right, 80, "%.2f"},
            {"UpdateDate", Align::Center, 150},
        };
        // Amount and Fee are numbers shown with two decimals; Amount is bold, green for
        // income and red otherwise.
        t.historyColumns = {
            {"Date", Align::Center, 110},
            {"From/To", Align::Left, 110},
            {"Amount", Align::Right, 50, "%.2f", true, true},
            {"Fee", Align::Right, 40, "%.2f"},
            {"Currency", Align::Center, 60},
            {"Batch", Align::Center, 60},
            {"Memo", Align::Left, 150},
            {"PaymentID", Align::Center, 70},
        };
        t.balanceTableFile = "PMBalance.set";
        t.historyTableFile = "PMHistory.set";
        t.accountLabel = "AccountID";
        t.apiNameLabel = "";
        t.secretLabel = "PassPhrase";
        t.counterpartLabel = "PM-Account";
        t.batchLabel = "PM-Batch #";
        t.msgNoAccount = 132;
        t.msgNoApiName = 0;
        t.msgNoSecret = 112;
        t.msgNoCounterpart = 133;
        t.msgNoBatch = 117;
        t.hasApiName = false;
        // payee, amount, memo, payment ID, scheduled, due time, send if failed, payer, failed
        t.scheduleFieldCount = 9;
        t.scheduleDueField = 5;
        t.historyAmountColumn = 2;
        t.historyCounterpartColumn = 1;
        t.record = PerfectMoneyRecord();
        // Each balance row is an account: the account must match, the balance is compared.
        t.change = ChangeFields{0, 1, 1};
        return t;
    }();
    return traits;
}

}  // namespace pw
