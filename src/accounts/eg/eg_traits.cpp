#include <QtGlobal>

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
            {QT_TRANSLATE_NOOP("Purseward", "Metal"), Align::Center, 50},
            {QT_TRANSLATE_NOOP("Purseward", "Ounces"), Align::Right, 60, "%.6f"},
            {QT_TRANSLATE_NOOP("Purseward", "Grams"), Align::Right, 60, "%.4f"},
            {QT_TRANSLATE_NOOP("Purseward", "Rate"), Align::Right, 50},
            {QT_TRANSLATE_NOOP("Purseward", "USD"), Align::Right, 50, "%.2f"},
            {QT_TRANSLATE_NOOP("Purseward", "UpdateDate"), Align::Center, 110},
        };
        // Weight and Amount are green above 0 and red otherwise, on white; Amount is bold.
        t.historyColumns = {
            {QT_TRANSLATE_NOOP("Purseward", "Date"), Align::Left, 100},
            {QT_TRANSLATE_NOOP("Purseward", "Type"), Align::Left, 110},
            {QT_TRANSLATE_NOOP("Purseward", "E-Metal"), Align::Center, 50},
            {QT_TRANSLATE_NOOP("Purseward", "Weight"), Align::Right, 70, "%.6f", true, false},
            {QT_TRANSLATE_NOOP("Purseward", "Amount"), Align::Right, 50, "%.2f", true, true},
            {QT_TRANSLATE_NOOP("Purseward", "From/To"), Align::Left, 110},
            {QT_TRANSLATE_NOOP("Purseward", "Currency"), Align::Center, 60},
            {QT_TRANSLATE_NOOP("Purseward", "Rate"), Align::Right, 50, "%.2f"},
            {QT_TRANSLATE_NOOP("Purseward", "Batch"), Align::Center, 50},
            {QT_TRANSLATE_NOOP("Purseward", "Memo"), Align::Left, 150},
        };
        t.balanceTableFile = "EGBalance.set";
        t.historyTableFile = "EGHistory.set";
        t.currencies = eg::Metals();
        t.accountLabel = QT_TRANSLATE_NOOP("Purseward", "AccountID");
        t.apiNameLabel = "";
        t.secretLabel = QT_TRANSLATE_NOOP("Purseward", "PassPhrase");
        t.counterpartLabel = QT_TRANSLATE_NOOP("Purseward", "EG-Account");
        t.batchLabel = QT_TRANSLATE_NOOP("Purseward", "EG-Batch #");
        t.msgNoAccount = 132;
        t.msgNoSecret = 112;
        // The string table has no text for e-gold's account filter.
        t.msgNoCounterpart = QT_TRANSLATE_NOOP(
            "Purseward", "You are checked option for select on EG-number, but don't entered it");
        t.msgNoBatch = 117;
        t.hasApiName = false;
        // payee, amount, memo, payment id, scheduled, due time, send again, metal, failed mark
        t.scheduleFieldCount = eg::kRecordFields;
        t.scheduleDueField = eg::kDue;
        t.historyAmountColumn = 4;
        t.historyCounterpartColumn = 5;
        t.record = EGoldRecord();
        // A change of the Ounces of a metal is reported with the old and new USD.
        t.change = ChangeFields{0, 1, 4};
        return t;
    }();
    return traits;
}

}  // namespace pw
