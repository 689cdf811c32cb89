#include <QtGlobal>

#include "accounts/vm/vm_client.h"

namespace pw {

const SystemTraits& VMoneyTraits() {
    static const SystemTraits traits = [] {
        SystemTraits t;
        t.systemIndex = 2;
        t.prefix = "VM";
        t.systemName = "V-Money";
        t.full = true;
        t.balanceColumns = {
            {QT_TRANSLATE_NOOP("Purseward", "Currency"), Align::Center, 100},
            {QT_TRANSLATE_NOOP("Purseward", "Value"), Align::Right, 80, "%.2f"},
            {QT_TRANSLATE_NOOP("Purseward", "UpdateDate"), Align::Center, 150},
        };
        t.historyColumns = {
            {QT_TRANSLATE_NOOP("Purseward", "Date"), Align::Center, 110},
            {QT_TRANSLATE_NOOP("Purseward", "TransType"), Align::Center, 80},
            {QT_TRANSLATE_NOOP("Purseward", "From/To"), Align::Center, 110},
            {QT_TRANSLATE_NOOP("Purseward", "Amount"), Align::Right, 50, "%.2f", true, true},
            {QT_TRANSLATE_NOOP("Purseward", "Batch"), Align::Center, 60},
            {QT_TRANSLATE_NOOP("Purseward", "Memo"), Align::Left, 150},
        };
        t.balanceTableFile = "VMBalance.set";
        t.historyTableFile = "VMHistory.set";
        t.currencies = {"USD"};
        t.accountLabel = QT_TRANSLATE_NOOP("Purseward", "Account ID");
        t.apiNameLabel = QT_TRANSLATE_NOOP("Purseward", "Pin number");
        t.secretLabel = QT_TRANSLATE_NOOP("Purseward", "Password");
        t.counterpartLabel = "";  // no account filter on this tab
        t.batchLabel = QT_TRANSLATE_NOOP("Purseward", "VM-Batch #");
        t.msgNoAccount = 132;
        t.msgNoApiName = 140;
        t.msgNoSecret = 112;
        t.msgNoCounterpart = 0;
        t.msgNoBatch = 117;
        t.hasApiName = true;  // the PIN takes the place of the API name
        // payee, amount, memo, scheduled, due time, send if failed, payer text, failed mark
        t.scheduleFieldCount = 8;
        t.scheduleDueField = 4;
        t.historyAmountColumn = 3;
        t.historyCounterpartColumn = 2;
        // Date, TransType, From/To (masked), Amount, Batch, Memo, each line ended by CR LF.
        t.record = VMoneyRecord();
        t.change = ChangeFields{0, 1, 1};
        return t;
    }();
    return traits;
}

}  // namespace pw
