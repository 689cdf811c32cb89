#include "payments/mass_payment.h"

#include <algorithm>

#include "accounts/tab_logic.h"
#include "ui/base/tr.h"

namespace pw {
namespace {

const MassPaymentVariant kMassVariants[] = {
    {"CMakeMassPayment", 0, "MassPayment.set", "LR_Import.csv", true},
    {"CPMMakeMassPayment", 1, "PMMassPayment.set", "PM_Import.csv", false},
    {"CVMMakeMassPayment", 2, "VMMassPayment.set", "VM_Import.csv", false},
    {"CEGMakeMassPayment", 3, "EGMassPayment.set", "EG_Import.csv", false},
};

}  // namespace

const MassPaymentVariant* MassPaymentVariantOf(int systemIndex) {
    if (systemIndex < 0 || systemIndex > 3) return nullptr;
    return &kMassVariants[systemIndex];
}

Cents RecordCost(const std::string& record, const PaymentVariant& variant) {
    const TextList f = Split(record, "~");
    const std::string amount = f.size() > 1 ? f[1] : std::string();
    const Cents cents = ExactAmount(amount).value_or(ToCents(amount));
    return cents + (variant.fee && cents > 0 ? PmFee(cents) : 0);
}

Cents ResultAmount(const TextList& queue, const PaymentVariant& variant) {
    Cents sum = 0;
    for (const std::string& record : queue) sum += RecordCost(record, variant);
    return sum;
}

Cents SendNowAmount(const TextList& queue, const PaymentVariant& variant) {
    Cents sum = 0;
    for (const std::string& record : queue) {
        const std::optional<PaymentRecord> r = ParseRecord(record, variant);
        if (!r || !r->scheduled) sum += RecordCost(record, variant);
    }
    return sum;
}

Preloaded PreloadScheduled(const TextList& schedule, const PaymentVariant& variant,
                           const std::string& source) {
    Preloaded p;
    for (std::size_t i = 0; i < schedule.size(); ++i) {
        const std::optional<PaymentRecord> r = ParseRecord(schedule[i], variant);
        if (!r || r->source != source) continue;
        p.records.push_back(schedule[i]);
        p.positions.push_back(i);
    }
    return p;
}

MassSplit SplitAtOk(const TextList& schedule, const std::vector<std::size_t>& preloaded,
                    const TextList& queue, const PaymentVariant& variant) {
    MassSplit split;
    for (std::size_t i = 0; i < schedule.size(); ++i)
        if (std::find(preloaded.begin(), preloaded.end(), i) == preloaded.end())
            split.schedule.push_back(schedule[i]);
    for (const std::string& record : queue) {
        const std::optional<PaymentRecord> r = ParseRecord(record, variant);
        (r && r->scheduled ? split.schedule : split.toSend).push_back(record);
    }
    return split;
}

std::string ImportedRecord(const CsvPayment& payment, const PaymentVariant& variant,
                           const std::string& source) {
    PaymentRecord r;
    r.payee = payment.to;
    r.amount = FormatCents(payment.cents);
    r.memo = payment.memo;
    r.paymentId = payment.paymentId;
    r.source = source;
    return RecordText(r, variant);
}

namespace {

// "%.2f" of a plain amount; any other text as it stands.
std::string Shown(const std::string& amount) {
    const std::optional<Cents> cents = ExactAmount(amount);
    return cents ? FormatCents(*cents) : amount;
}

}  // namespace

std::string MassSendSummary(const std::vector<MassOutcome>& outcomes) {
    struct Group {
        MassResult result;
        const char* heading;
    };
    static const Group kGroups[] = {
        {MassResult::Refused, QT_TRANSLATE_NOOP("Purseward", "Refused by the payment system:")},
        {MassResult::Unknown,
         QT_TRANSLATE_NOOP("Purseward",
                           "Outcome unknown: look at the history before sending these again:")},
        {MassResult::Held,
         QT_TRANSLATE_NOOP(
             "Purseward",
             "Not sent, because an earlier payment to the same payee has an unknown outcome:")},
        {MassResult::NotSent, QT_TRANSLATE_NOOP("Purseward", "Not sent, the connection failed:")},
        {MassResult::BadAmount,
         QT_TRANSLATE_NOOP(
             "Purseward", "Not sent, the amount is not a plain number with at most two decimals:")},
        {MassResult::Skipped,
         QT_TRANSLATE_NOOP("Purseward", "Not sent, the payment password was not given:")},
    };
    const auto sent = std::count_if(outcomes.begin(), outcomes.end(), [](const MassOutcome& o) {
        return o.result == MassResult::Sent;
    });
    std::string text = (outcomes.size() == 1 ? Purseward::tr("%1 of %2 payment sent.")
                                             : Purseward::tr("%1 of %2 payments sent."))
                           .arg(sent)
                           .arg(outcomes.size())
                           .toStdString();
    for (const Group& g : kGroups) {
        bool first = true;
        for (const MassOutcome& o : outcomes) {
            if (o.result != g.result) continue;
            if (first) text += "\n\n" + TrText(g.heading).toStdString();
            first = false;
            text += "\n " + o.payee + "  " + Shown(o.amount);
            if (!o.error.empty()) text += " : " + o.error;
        }
    }
    return text;
}

}  // namespace pw
