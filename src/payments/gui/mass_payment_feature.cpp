#include "payments/gui/mass_payment_feature.h"

#include <algorithm>
#include <set>

#include "accounts/gui/account_tab.h"
#include "accounts/lr/lr_client.h"
#include "accounts/lr/lr_parser.h"
#include "accounts/tab_logic.h"
#include "app/purseward_app.h"
#include "payments/gui/make_mass_payment.h"
#include "payments/schedule.h"
#include "ui/base/modal_ui.h"
#include "ui/base/tr.h"

namespace pw {
namespace {

// The client's error report on one line of the summary.
std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

MassOutcome OutcomeOf(const PaymentRecord& record, const TransferResult& result) {
    MassOutcome o{record.payee, record.amount, MassResult::Sent, std::string()};
    switch (result.state) {
        case TransferState::Confirmed:
            break;
        case TransferState::Refused:
            o.result = MassResult::Refused;
            o.error = OneLine(result.errorReport);
            break;
        case TransferState::Unknown:
            o.result = MassResult::Unknown;
            o.error = result.exchange.text;
            break;
        case TransferState::NotSent:
            o.result = MassResult::NotSent;
            o.error = result.exchange.text;
            break;
        case TransferState::NotBuilt:
            o.result = MassResult::Skipped;
            break;
    }
    return o;
}

// Sends the records one request each. After an unknown outcome nothing more goes to that
// payee: a second payment could follow one that went through.
std::vector<MassOutcome> SendEach(CAccountTab& tab, const TextList& records,
                                  const PaymentVariant& variant, bool& requested) {
    std::vector<MassOutcome> outcomes;
    std::set<std::string> unknownPayees;
    for (const std::string& text : records) {
        const PaymentRecord record = ParseRecord(text, variant).value_or(PaymentRecord{});
        if (!ExactAmount(record.amount)) {
            // A record from an edited schedule file: no request may carry it.
            outcomes.push_back({record.payee, record.amount, MassResult::BadAmount, {}});
            continue;
        }
        if (unknownPayees.count(record.payee)) {
            outcomes.push_back({record.payee, record.amount, MassResult::Held, std::string()});
            continue;
        }
        const TransferResult result = tab.SendTransferRequest({text});
        requested = requested || (result.state != TransferState::NotBuilt &&
                                  result.state != TransferState::NotSent);
        outcomes.push_back(OutcomeOf(record, result));
        if (result.state == TransferState::Unknown) unknownPayees.insert(record.payee);
    }
    return outcomes;
}

// Sends every record in one request (LR). The answer holds a transfer or an error per record;
// a record counts as sent only when a confirmed transfer to its payee with its amount is there.
// The others are refused when the errors account for all of them, else their fate is unknown.
std::vector<MassOutcome> SendAll(CAccountTab& tab, const TextList& records,
                                 const PaymentVariant& variant, bool& requested) {
    std::vector<MassOutcome> outcomes, unusable;
    TextList sendable;
    for (const std::string& text : records) {
        const PaymentRecord record = ParseRecord(text, variant).value_or(PaymentRecord{});
        if (!ExactAmount(record.amount)) {
            unusable.push_back({record.payee, record.amount, MassResult::BadAmount, {}});
            continue;
        }
        sendable.push_back(text);
    }
    if (sendable.empty()) return unusable;
    const TransferResult result = tab.SendTransferRequest(sendable);
    requested = result.state != TransferState::NotBuilt && result.state != TransferState::NotSent;
    for (const std::string& text : sendable)
        outcomes.push_back(OutcomeOf(ParseRecord(text, variant).value_or(PaymentRecord{}), result));
    // Some went through, some did not: which is which, from the confirmed transfers. Only
    // Liberty Reserve sends several records in one request.
    if (result.state == TransferState::Confirmed && !result.errorReport.empty() &&
        tab.Traits().systemIndex == 0) {
        const lr::LrAnswer& answer = static_cast<LrClient&>(tab.Client()).Lr();
        std::vector<std::pair<std::string, Cents>> confirmed;
        for (const std::string_view transfer : answer.transfers) {
            const TextList f = Split(transfer, "~");
            if (f.size() > 5)
                confirmed.push_back({f[3], ExactAmount(f[5]).value_or(ToCents(f[5]))});
        }
        std::vector<bool> sent(outcomes.size(), false);
        std::size_t matched = 0;
        for (std::size_t i = 0; i < outcomes.size(); ++i) {
            const auto it = std::find(
                confirmed.begin(), confirmed.end(),
                std::make_pair(outcomes[i].payee, ExactAmount(outcomes[i].amount).value_or(-1)));
            if (it == confirmed.end()) continue;
            confirmed.erase(it);
            sent[i] = true;
            ++matched;
        }
        const bool errorsForTheRest = matched + answer.errors.size() == outcomes.size();
        for (std::size_t i = 0; i < outcomes.size(); ++i) {
            if (sent[i]) continue;
            outcomes[i].result = errorsForTheRest ? MassResult::Refused : MassResult::Unknown;
            outcomes[i].error = errorsForTheRest ? OneLine(result.errorReport) : std::string();
        }
    }
    outcomes.insert(outcomes.end(), unusable.begin(), unusable.end());
    return outcomes;
}

}  // namespace

void MakeMassPayment(CAccountTab& tab, CPursewardApp& app, const MassPaymentRunner& run) {
    const MassPaymentVariant* mass = MassPaymentVariantOf(tab.Traits().systemIndex);
    const int row = tab.SelectedBalanceRow();
    if (mass == nullptr || row < 0 || static_cast<std::size_t>(row) >= tab.BalanceRows().size())
        return;
    const PaymentVariant& variant = mass->Payment();
    const PayerView payer = PayerOf(variant, tab.CurrentLogin().account,
                                    tab.BalanceRows()[static_cast<std::size_t>(row)]);
    // The schedule check of this account (in any tab) waits until the mass payment has ended,
    // so a preloaded record cannot be sent by it meanwhile.
    const std::shared_ptr<AccountSchedule> schedule = tab.ScheduleHandle();
    const BusyScope busy(schedule);
    const bool scheduling = tab.IsLoggedIn() && !tab.AccountTag().empty();
    const Preloaded preloaded =
        scheduling ? PreloadScheduled(schedule->records, variant, payer.source) : Preloaded{};

    CMakeMassPayment window(
        *mass, app.Ui(), app.ProgramDir(), [&app] { return app.GetClock().Now(); }, &tab);
    window.from = payer.from;
    window.balance = payer.balance;
    window.source = payer.source;
    window.SetSchedulingAllowed(scheduling);
    if (variant.getName)
        window.SetNameLookup(
            [&tab](const std::string& account) { return tab.LookUpAccountName(account); });
    window.SetQueue(preloaded.records);
    // Cancel: the schedule stays exactly as it was.
    if ((run ? run(window) : window.exec()) != QDialog::Accepted) return;

    tab.SaveState();
    const MassSplit split =
        SplitAtOk(schedule->records, preloaded.positions, window.Queue(), variant);
    if (split.schedule != schedule->records) {
        const AccountSchedule before = *schedule;
        schedule->records.clear();
        schedule->dueTimes.clear();
        for (const std::string& record : split.schedule) AddToSchedule(*schedule, record, variant);
        // A preloaded record sent now must be out of the file first, or a later check could
        // send it again: without that save nothing is sent.
        if (schedule != tab.ScheduleHandle() || !tab.SaveScheduleFile()) {
            schedule->records = before.records;
            schedule->dueTimes = before.dueTimes;
            app.Ui().Message(
                Purseward::tr("The schedule could not be saved, so no payment was sent.")
                    .toStdString());
            return;
        }
    }
    if (split.toSend.empty()) return;
    bool requested = false;
    const std::vector<MassOutcome> outcomes = mass->oneRequest
                                                  ? SendAll(tab, split.toSend, variant, requested)
                                                  : SendEach(tab, split.toSend, variant, requested);
    app.Ui().Message(MassSendSummary(outcomes));
    if (requested) tab.RefreshBalance();
}

void InstallMassPayment(CAccountTab& tab, CPursewardApp& app, MassPaymentRunner run) {
    if (!tab.Traits().full || MassPaymentVariantOf(tab.Traits().systemIndex) == nullptr) return;
    tab.SetFeature(TabFeature::MassPayment,
                   [&tab, &app, run = std::move(run)] { MakeMassPayment(tab, app, run); });
}

}  // namespace pw
