#include "accounts/lr/lr_client.h"

namespace pw {

const SystemTraits& LibertyReserveTraits() {
    static const SystemTraits traits = [] {
        SystemTraits t;
        t.systemIndex = 0;
        t.prefix = "LR";
        t.systemName = "Liberty Reserve";
        t.full = true;
        t.balanceColumns = {
            {"Currency", Align::Center, 60},
            {"Value", Align::Right, 80, "%.2f"},
            {"UpdateDate", Align::Center, 150},
        };
        t.historyColumns = {
            {"Date", Align::Center, 110},
            {"From/To", Align::Left, 110},
            {"Amount", Align::Right, 50, "%.2f", true, true},
            {"Fee", Align::Right, 40, "%.2f"},
            {"Balance", Align::Right, 60, "%.2f"},
            {"Currency", Align::Center, 60},
            {"Batch", Align::Center, 60},
            {"Memo", Align::Left, 150},
            {"Anonymous", Align::Center, 70},
            {"Source", Align::Center, 50},
        };
        // The Liberty Reserve tables keep the plain names, without the system prefix.
        t.balanceTableFile = "Balance.set";
        t.historyTableFile = "History.set";
        t.currencies = {"LRUSD", "LREUR"};
        t.accountLabel = "LR-Account";
        t.apiNameLabel = "API Name";
        t.secretLabel = "SecretWord";
        t.counterpartLabel = "LR-Account";
        t.batchLabel = "LR-Batch #";
        t.msgNoAccount = 110;
        t.msgNoApiName = 111;
        t.msgNoSecret = 112;
        t.msgNoCounterpart = 116;
        t.msgNoBatch = 117;
        t.hasApiName = true;
        // payee, amount, memo, scheduled, due time, send if failed, currency, failed mark
        t.scheduleFieldCount = 8;
        t.scheduleDueField = 4;
        t.historyAmountColumn = 2;
        t.historyCounterpartColumn = 1;
        // Date, From/To (masked), Amount, Currency, Batch, Memo: the default record text.
        t.record = LibertyReserveRecord();
        t.change = ChangeFields{0, 1, 1};
        return t;
    }();
    return traits;
}

}  // namespace pw
