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
            {"Metal", Align::Center, 50}, {"Ounces", Align::Right, 60},
            {"Grams", Align::Right, 60},  {"Rate", Align::Right, 50},
            {"USD", Align::Right, 50},    {"UpdateDate", Align::Center, 110},
        };
        t.historyColumns = {
            {"Date", Align::Left, 100},     {"Type", Align::Left, 110},
            {"E-Metal", Align::Center, 50}, {"Weight", Align::Right, 70},
            {"Amount", Align::Right, 50},   {"From/To", Align::Left, 110},
            {"Currency", Align::Center, 60}, {"Rate", Align::Right, 50},
            {"Batch", Align::Center, 50},   {"Memo", Align::Left, 150},
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
        t.msgNoCounterpart = 0;  // no string-table text: eg::Traits().noCounterpartMessage
        t.msgNoBatch = 117;
        t.hasApiName = false;
        // payee, amount, memo, payment id, scheduled, due time, send again, metal, failed mark
        t.scheduleFieldCount = eg::kRecordFields;
        t.scheduleDueField = eg::kDue;
        t.historyAmountColumn = 4;
        t.historyCounterpartColumn = 5;
        return t;
    }();
    return traits;
}

namespace eg {

const EgTraits& Traits() {
    static const EgTraits traits = [] {
        EgTraits t;
        t.balanceFormats = {{""}, {"%.6f"}, {"%.4f"}, {""}, {"%.2f"}, {""}};
        t.historyFormats = {{""},           {""}, {""}, {"%.6f", true, false},
                            {"%.2f", true, true}, {""}, {""}, {"%.2f"}, {""}, {""}};
        return t;
    }();
    return traits;
}

}  // namespace eg
}  // namespace pw
