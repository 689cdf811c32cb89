#include "accounts/eg/eg_client.h"

namespace pw {

const SystemTraits& EGoldTraits() {
    static const SystemTraits traits = [] {
        SystemTraits t;
        t.systemIndex = 3;
        t.prefix = "EG";
        t.systemName = "e-gold";
        t.full = true;
        t.balanceColumns = {
            {"Metal", Align::Center, 50},
            {"Ounces", Align::Right, 60, "%.6f"},
            {"Grams", Align::Right, 60, "%.4f"},
            {"Rate", Align::Right, 50},
            {"USD", Align::Right, 50, "%.2f"},
            {"UpdateDate", Align::Center, 110},
        };
        // Weight and Amount are green above 0 and red otherwise, on white; Amount is bold.
        t.historyColumns = {
            {"Date", Align::Left, 100},
            {"Type", Align::Left, 110},
            {"E-Metal", Align::Center, 50},
            {"Weight", Align::Right, 70, "%.6f", true, false},
            {"Amount", Align::Right, 50, "%.2f", true, true},
            {"From/To", Align::Left, 110},
            {"Currency", Align::Center, 60},
            {"Rate", Align::Right, 50, "%.2f"},
            {"Batch", Align::Center, 50},
            {"Memo", Align::Left, 150},
        };
        t.balanceTableFile = "EGBalance.set";
        t.historyTableFile = "EGHistory.set";
        t.currencies = eg::Metals();
        t.accountLabel = "AccountID";
        t.apiNameLabel = "";
        t.secretLabel = "PassPhrase";
        t.counterpartLabel = "EG-Account";
        t.batchLabel = "EG-Batch #";
        t.msgNoAccount = 132;
        t.msgNoSecret = 112;
        // The string table has no text for e-gold's account filter.
        t.msgNoCounterpart = "You are checked option for select on EG-number, but don't entered it";
        t.msgNoBatch = 117;
        t.hasApiName = false;
        // payee, amount, memo, payment id, scheduled, due time, send again, metal, failed mark
        t.scheduleFieldCount = eg::kRecordFields;
        t.scheduleDueField = eg::kDue;
        t.historyAmountColumn = 4;
        t.historyCounterpartColumn = 5;
        t.record = EGoldRecord();
        // A change of the Ounces of a metal is reported with the old and new USD.
        t.change = ChangeFields{0, 1, 4};
        return t;
    }();
    return traits;
}

}  // namespace pw
