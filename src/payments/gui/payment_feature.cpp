#include "payments/gui/payment_feature.h"

#include "accounts/gui/account_tab.h"
#include "app/purseward_app.h"
#include "payments/gui/make_payment_dialog.h"
#include "payments/ole_date.h"
#include "payments/payment_outcome.h"
#include "payments/schedule.h"
#include "ui/base/modal_ui.h"
#include "ui/base/strings.h"

namespace pw {

void MakePayment(CAccountTab& tab, CPursewardApp& app, const PaymentDialogRunner& run) {
    const PaymentVariant* variant = PaymentVariantOf(tab.Traits().systemIndex);
    const int row = tab.SelectedBalanceRow();
    if (variant == nullptr || row < 0 || static_cast<std::size_t>(row) >= tab.BalanceRows().size())
        return;
    const PayerView payer = PayerOf(*variant, tab.CurrentLogin().account,
                                    tab.BalanceRows()[static_cast<std::size_t>(row)]);
    // The schedule check of this account (in any tab) waits until the payment has ended.
    const std::shared_ptr<AccountSchedule> schedule = tab.ScheduleHandle();
    const BusyScope busy(schedule);

    CMakePayment dialog(*variant, app.Ui(), app.ProgramDir(), app.GetClock().Now(), &tab);
    dialog.caption = Str(134);
    dialog.from = payer.from;
    dialog.balance = payer.balance;
    dialog.source = payer.source;
    dialog.SetSchedulingAllowed(tab.IsLoggedIn() && !tab.AccountTag().empty());
    if (variant->getName)
        dialog.SetNameLookup(
            [&tab](const std::string& account) { return tab.LookUpAccountName(account); });
    if ((run ? run(dialog) : dialog.exec()) != QDialog::Accepted) return;

    const PaymentRecord& record = dialog.Record();
    const std::string text = RecordText(record, *variant);
    if (record.scheduled) {
        AddToSchedule(*schedule, text, *variant);
        if (schedule == tab.ScheduleHandle()) tab.SaveScheduleFile();
    }
    tab.SaveState();
    if (record.scheduled) return;
    const TransferResult result = tab.SendTransferRequest({text});
    const std::string report = ImmediatePaymentReport(result, record);
    if (!report.empty()) app.Ui().Message(report);
    if (result.state != TransferState::NotBuilt && result.state != TransferState::NotSent)
        tab.RefreshBalance();
}

void CheckSchedule(CAccountTab& tab, CPursewardApp& app) {
    const PaymentVariant* variant = PaymentVariantOf(tab.Traits().systemIndex);
    if (variant == nullptr || !tab.IsLoggedIn()) return;
    const std::shared_ptr<AccountSchedule> schedule = tab.ScheduleHandle();
    ScheduleCheckHooks hooks;
    hooks.send = [&tab](const std::string& record) { return tab.SendTransferRequest({record}); };
    // Saved only while the tab still holds this account's schedule.
    hooks.save = [&tab, schedule] {
        return schedule == tab.ScheduleHandle() && tab.SaveScheduleFile();
    };
    hooks.message = [&app](const std::string& text) { app.Ui().Message(text); };
    hooks.quietNotice = hooks.message;
    hooks.refresh = [&tab] { tab.RefreshBalance(); };
    RunScheduleCheck(schedule, *variant, OleSeconds(LocalOf(app.GetClock().Now())), hooks);
}

void InstallPayments(CAccountTab& tab, CPursewardApp& app, PaymentDialogRunner run) {
    if (!tab.Traits().full || PaymentVariantOf(tab.Traits().systemIndex) == nullptr) return;
    tab.SetFeature(TabFeature::Payment,
                   [&tab, &app, run = std::move(run)] { MakePayment(tab, app, run); });
    tab.SetFeature(TabFeature::ScheduleCheck, [&tab, &app] { CheckSchedule(tab, app); });
}

}  // namespace pw
