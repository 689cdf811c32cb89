#include "accounts/gdp/gdp_client.h"

namespace pw {

const SystemTraits& GdpTraits() {
    static const SystemTraits traits = [] {
        SystemTraits t;
        t.systemIndex = 4;
        t.prefix = "GDP";
        t.systemName = "GDP";
        t.full = false;
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
        };
        // The GDP tables have always been kept under these names.
        t.balanceTableFile = "GBPBalance.set";
        t.historyTableFile = "GBPHistory.set";
        t.currencies = {"USD", "EUR", "GBP"};
        t.accountLabel = "GDP-Account";
        t.apiNameLabel = "Store ID";
        t.secretLabel = "GDP-Key";
        t.counterpartLabel = "GDP-Account";
        t.batchLabel = "GDP-Batch #";
        t.msgNoAccount = 132;
        t.msgNoApiName = 111;
        t.msgNoSecret = 112;
        t.msgNoCounterpart = 116;
        t.msgNoBatch = 117;
        t.hasApiName = true;
        t.historyAmountColumn = 2;
        t.historyCounterpartColumn = 1;
        return t;
    }();
    return traits;
}

}  // namespace pw
