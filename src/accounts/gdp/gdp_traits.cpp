#include <QtGlobal>

#include "accounts/gdp/gdp_client.h"

namespace pw {

const SystemTraits& GdpTraits() {
    static const SystemTraits traits = [] {
        SystemTraits t;
        t.systemIndex = 4;
        t.prefix = "GDP";
        t.systemName = "GDP";
        t.full = false;
        t.balanceColumns = CurrencyBalanceColumns();
        t.historyColumns = ReceiptHistoryColumns(false);
        // The GDP tables have always been kept under these names.
        t.balanceTableFile = "GBPBalance.set";
        t.historyTableFile = "GBPHistory.set";
        t.currencies = {"USD", "EUR", "GBP"};
        t.accountLabel = QT_TRANSLATE_NOOP("Purseward", "GDP-Account");
        t.apiNameLabel = QT_TRANSLATE_NOOP("Purseward", "Store ID");
        t.secretLabel = QT_TRANSLATE_NOOP("Purseward", "GDP-Key");
        t.counterpartLabel = QT_TRANSLATE_NOOP("Purseward", "GDP-Account");
        t.batchLabel = QT_TRANSLATE_NOOP("Purseward", "GDP-Batch #");
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
