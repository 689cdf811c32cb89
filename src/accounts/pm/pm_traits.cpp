#include <QtGlobal>

#include "accounts/pm/pm_client.h"

namespace pw {

const SystemTraits& PerfectMoneyTraits() {
    static const SystemTraits traits = [] {
        SystemTraits t;
        t.systemIndex = 1;
        t.prefix = "PM";
        t.systemName = "Perfect Money";
        t.full = true;
        t.balanceColumns = {
            {QT_TRANSLATE_NOOP("Purseward", "Account No"), Align::Center, 100},
            {QT_TRANSLATE_NOOP("Purseward", "Value"), Align::Right, 80, "%.2f"},
            {QT_TRANSLATE_NOOP("Purseward", "UpdateDate"), Align::Center, 150},
        };
        // Amount and Fee are numbers shown with two decimals; Amount is bold, green for
        // income and red otherwise.
        t.historyColumns = {
            {QT_TRANSLATE_NOOP("Purseward", "Date"), Align::Center, 110},
            {QT_TRANSLATE_NOOP("Purseward", "From/To"), Align::Left, 110},
            {QT_TRANSLATE_NOOP("Purseward", "Amount"), Align::Right, 50, "%.2f", true, true},
            {QT_TRANSLATE_NOOP("Purseward", "Fee"), Align::Right, 40, "%.2f"},
            {QT_TRANSLATE_NOOP("Purseward", "Currency"), Align::Center, 60},
            {QT_TRANSLATE_NOOP("Purseward", "Batch"), Align::Center, 60},
            {QT_TRANSLATE_NOOP("Purseward", "Memo"), Align::Left, 150},
            {QT_TRANSLATE_NOOP("Purseward", "PaymentID"), Align::Center, 70},
        };
        t.balanceTableFile = "PMBalance.set";
        t.historyTableFile = "PMHistory.set";
        t.accountLabel = QT_TRANSLATE_NOOP("Purseward", "AccountID");
        t.apiNameLabel = "";
        t.secretLabel = QT_TRANSLATE_NOOP("Purseward", "PassPhrase");
        t.counterpartLabel = QT_TRANSLATE_NOOP("Purseward", "PM-Account");
        t.batchLabel = QT_TRANSLATE_NOOP("Purseward", "PM-Batch #");
        t.msgNoAccount = 132;
        t.msgNoApiName = 0;
        t.msgNoSecret = 112;
        t.msgNoCounterpart = 133;
        t.msgNoBatch = 117;
        t.hasApiName = false;
        // payee, amount, memo, payment ID, scheduled, due time, send if failed, payer, failed
        t.scheduleFieldCount = 9;
        t.scheduleDueField = 5;
        t.historyAmountColumn = 2;
        t.historyCounterpartColumn = 1;
        t.record = PerfectMoneyRecord();
        // Each balance row is an account: the account must match, the balance is compared.
        t.change = ChangeFields{0, 1, 1};
        return t;
    }();
    return traits;
}

}  // namespace pw
