#include <QtGlobal>

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
            {QT_TRANSLATE_NOOP("Purseward", "Currency"), Align::Center, 60},
            {QT_TRANSLATE_NOOP("Purseward", "Value"), Align::Right, 80, "%.2f"},
            {QT_TRANSLATE_NOOP("Purseward", "UpdateDate"), Align::Center, 150},
        };
        t.historyColumns = {
            {QT_TRANSLATE_NOOP("Purseward", "Date"), Align::Center, 110},
            {QT_TRANSLATE_NOOP("Purseward", "From/To"), Align::Left, 110},
            {QT_TRANSLATE_NOOP("Purseward", "Amount"), Align::Right, 50, "%.2f", true, true},
            {QT_TRANSLATE_NOOP("Purseward", "Fee"), Align::Right, 40, "%.2f"},
            {QT_TRANSLATE_NOOP("Purseward", "Balance"), Align::Right, 60, "%.2f"},
            {QT_TRANSLATE_NOOP("Purseward", "Currency"), Align::Center, 60},
            {QT_TRANSLATE_NOOP("Purseward", "Batch"), Align::Center, 60},
            {QT_TRANSLATE_NOOP("Purseward", "Memo"), Align::Left, 150},
            {QT_TRANSLATE_NOOP("Purseward", "Anonymous"), Align::Center, 70},
            {QT_TRANSLATE_NOOP("Purseward", "Source"), Align::Center, 50},
        };
        t.balanceTableFile = "ECUBalance.set";
        t.historyTableFile = "ECUHistory.set";
        t.currencies = {"USD", "EUR"};
        t.accountLabel = QT_TRANSLATE_NOOP("Purseward", "ECU-Account");
        t.secretLabel = QT_TRANSLATE_NOOP("Purseward", "Password");
        t.counterpartLabel = QT_TRANSLATE_NOOP("Purseward", "ECU-Account");
        t.batchLabel = QT_TRANSLATE_NOOP("Purseward", "ECU-Batch #");
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
