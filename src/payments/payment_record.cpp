#include "payments/payment_record.h"

#include "accounts/tab_logic.h"

namespace pw {
namespace {

const char* YesNo(bool v) { return v ? "yes" : "no"; }

const PaymentVariant kVariants[] = {
    // LR: account [currency], balance cell 1, currency as source; "Get Name".
    {0, "LR", false, true, false, true, 1, false},
    // PM: the payer account of the row, balance cell 1; payment ID, fee.
    {1, "PM", true, false, true, false, 1, false},
    // VM: account [currency], balance cell 1, the payer text as source; "Get Name".
    {2, "VM", false, true, false, true, 1, true},
    // EG: account [metal], the USD value (cell 4); payment ID.
    {3, "EG", true, false, false, true, 4, false},
};

}  // namespace

const PaymentVariant* PaymentVariantOf(int systemIndex) {
    if (systemIndex < 0 || systemIndex > 3) return nullptr;
    return &kVariants[systemIndex];
}

std::string RecordText(const PaymentRecord& r, const PaymentVariant& v) {
    TextList f{r.payee, r.amount, r.memo};
    if (v.paymentId) f.push_back(r.paymentId);
    f.push_back(YesNo(r.scheduled));
    f.push_back(r.scheduled ? r.due : std::string());
    f.push_back(YesNo(r.scheduled && r.sendIfFailed));
    f.push_back(r.source);
    f.push_back(YesNo(r.failed));
    return JoinList(f, "~");
}

std::optional<PaymentRecord> ParseRecord(const std::string& text, const PaymentVariant& v) {
    const TextList f = Split(text, "~");
    if (static_cast<int>(f.size()) != v.FieldCount()) return std::nullopt;
    PaymentRecord r;
    std::size_t i = 0;
    r.payee = f[i++];
    r.amount = f[i++];
    r.memo = f[i++];
    if (v.paymentId) r.paymentId = f[i++];
    r.scheduled = f[i++] == "yes";
    r.due = f[i++];
    r.sendIfFailed = f[i++] == "yes";
    r.source = f[i++];
    r.failed = f[i++] == "yes";
    return r;
}

PayerView PayerOf(const PaymentVariant& v, const std::string& account,
                  std::string_view balanceRow) {
    const TextList cells = Split(balanceRow, "~");
    const std::string first = cells.empty() ? std::string() : cells[0];
    const auto b = static_cast<std::size_t>(v.balanceCell);
    const std::string cell = b < cells.size() ? cells[b] : std::string();
    PayerView p;
    p.from = v.fromWithAccount ? account + " [" + first + "]" : first;
    p.balance = FormatMoney(ParseAmount(cell));
    p.source = v.sourceIsFromText ? p.from : first;
    return p;
}

bool FitsRecordField(const std::string& text) {
    return text.find_first_of("~\r\n") == std::string::npos;
}

}  // namespace pw
