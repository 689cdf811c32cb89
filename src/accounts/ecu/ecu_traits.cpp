#include "accounts/ecu/ecu_client.h"

namespace pw {

const SystemTraits& EcuTraits() {
    static const SystemTraits traits = [] {
        SystemTraits t;
        t.systemIndex = 5;
        t.prefix = "ECU";
        t.systemName = "ECUMoney";
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
            {"Anonymous", Align::Center, 70},
            {"Source", Align::Center, 50},
        };
        t.balanceTableFile = "ECUBalance.set";
        t.historyTableFile = "ECUHistory.set";
        t.currencies = {"USD", "EUR"};
        t.accountLabel = "ECU-Account";
        t.secretLabel = "Password";
        t.counterpartLabel = "ECU-Account";
        t.batchLabel = "ECU-Batch #";
        t.msgNoAccount = 132;
        t.msgNoApiName = 0;
        t.msgNoSecret = 112;
        t.msgNoCounterpart = ecu::kNoCounterpartMessage;
        t.msgNoBatch = 117;
        t.hasApiName = false;
        t.historyAmountColumn = 2;
        t.historyCounterpartColumn = 1;
        return t;
    }();
    return traits;
}

}  // namespace pw
