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
        t.balanceColumns = CurrencyBalanceColumns();
        t.historyColumns = ReceiptHistoryColumns(true);
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
