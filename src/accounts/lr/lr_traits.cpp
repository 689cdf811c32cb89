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
