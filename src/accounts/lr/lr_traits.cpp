#include <QtGlobal>

#include "accounts/lr/lr_client.h"

namespace pw {

const SystemTraits& LibertyReserveTraits() {
    static const SystemTraits traits = [] {
        SystemTraits t;
        t.systemIndex = 0;
        t.prefix = "LR";
        t.systemName = "Liberty Reserve";
        t.full = true;
        t.balanceColumns = CurrencyBalanceColumns();
        t.historyColumns = ReceiptHistoryColumns(true);
        // The Liberty Reserve tables keep the plain names, without the system prefix.
        t.balanceTableFile = "Balance.set";
        t.historyTableFile = "History.set";
        t.currencies = {"LRUSD", "LREUR"};
        t.accountLabel = QT_TRANSLATE_NOOP("Purseward", "LR-Account");
        t.apiNameLabel = QT_TRANSLATE_NOOP("Purseward", "API Name");
        t.secretLabel = QT_TRANSLATE_NOOP("Purseward", "SecretWord");
        t.counterpartLabel = QT_TRANSLATE_NOOP("Purseward", "LR-Account");
        t.batchLabel = QT_TRANSLATE_NOOP("Purseward", "LR-Batch #");
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
