#include "accounts/vm/vm_parser.h"

#include <vector>

#include "accounts/answer_text.h"
#include "accounts/cut_text.h"
#include "accounts/request_text.h"

namespace pw::vm {
namespace {

enum Marker : int {
    kResponse,
    kStatus, kCode, kCodeEnd, kMessage, kMessageEnd,
    kBalance, kBalanceEnd,
    kTransaction, kTransId, kTransIdEnd, kMemo, kMemoEnd, kPaymentId, kPaymentIdEnd,
    kToFrom, kToFromEnd, kTimestamp, kTimestampEnd, kAmount, kAmountEnd, kTransType, kTransTypeEnd,
    kAccountName, kAccountNameEnd,
};

const std::vector<std::string_view>& AnswerMarkers() {
    static const std::vector<std::string_view> m = {
        "<Response>",
        "<Status>", "<Code>", "</Code>", "<Message>", "</Message>",
        "<Balance>", "</Balance>",
        "<Transaction>", "<TransId>", "</TransId>", "<Memo>", "</Memo>", "<PaymentId>", "</PaymentId>",
        "<ToFromAccount>", "</ToFromAccount>", "<Timestamp>", "</Timestamp>", "<Amount>", "</Amount>",
        "<TransType>", "</TransType>",
        "<AccountName>", "</AccountName>"};
    return m;
}

enum PartyMarker : int { kAccountId, kAccountIdEnd, kName, kNameEnd };

const std::vector<std::string_view>& PartyMarkers() {
    static const std::vector<std::string_view> m = {"<AccountId>", "</AccountId>", "<Name>", "</Name>"};
    return m;
}

enum class Took { None, Unclosed, Value };

// Takes the first element left whose tags are open/close (markers of x): its value, decoded,
// goes to out (an empty one as " ") and the element is cut out. An opening tag without a
// closing tag is cut alone (Unclosed); no opening tag: None.
Took Take(CutText& x, int open, int close, std::string& out, std::string& scratch) {
    const std::size_t s = x.Find(open);
    if (s == CutText::npos) return Took::None;
    const std::size_t v = s + x.MarkerSize(open);
    const std::size_t e = x.Find(close, v);
    if (e == CutText::npos) {
        x.Cut(s, v);
        return Took::Unclosed;
    }
    const std::size_t before = out.size();
    AppendXmlField(out, x.Left(v, e, scratch));
    if (out.size() == before) out += ' ';
    x.Cut(s, e + x.MarkerSize(close));
    return Took::Value;
}

// Appends the value of the first element left, or " " when it is missing or unclosed.
void TakeOrBlank(CutText& x, int open, int close, std::string& out, std::string& scratch) {
    if (Take(x, open, close, out, scratch) != Took::Value) out += ' ';
}

// Cuts the first marker left; false when there is none.
bool CutMarker(CutText& x, int marker) {
    const std::size_t p = x.Find(marker);
    if (p == CutText::npos) return false;
    x.Cut(p, p + x.MarkerSize(marker));
    return true;
}

bool IsErrorCode(std::string_view code) {
    return code.find("Error") != std::string_view::npos || code.find("Fail") != std::string_view::npos ||
           code.find("Partial") != std::string_view::npos;
}

void AppendParty(std::string& out, std::string_view toFromAccount, CutText& x) {
    x.Reset(toFromAccount);
    std::string scratch, account, name;
    bool any = false;
    while (x.Find(kAccountId) != CutText::npos) {
        account.clear();
        if (Take(x, kAccountId, kAccountIdEnd, account, scratch) != Took::Value) continue;  // unclosed: look again
        name.clear();
        TakeOrBlank(x, kName, kNameEnd, name, scratch);
        if (any) out += ", ";
        any = true;
        out += account;
        if (account != "Fee Account") {
            out += " (";
            out += name;
            out += ')';
        }
    }
    if (!any) out += ' ';
}

}  // namespace

std::string PartyOf(std::string toFromAccount) {
    std::string out;
    CutText x(PartyMarkers());
    AppendParty(out, toFromAccount, x);
    return out;
}

void ParseAnswer(std::string_view answer, std::time_t now, VmAnswer& out) {
    out = VmAnswer{};
    if (answer.size() >= UINT32_MAX) return;  // far beyond any answer of the interface
    CutText x(answer, AnswerMarkers());
    if (x.Find(kResponse) == CutText::npos) return;
    std::string scratch;
    CutText party(PartyMarkers());  // one for every ToFromAccount: its memory is kept

    while (CutMarker(x, kStatus)) {
        std::string row;
        TakeOrBlank(x, kCode, kCodeEnd, row, scratch);
        const bool error = IsErrorCode(row);
        row += '~';
        TakeOrBlank(x, kMessage, kMessageEnd, row, scratch);
        if (error) out.errors.push_back(std::move(row));
    }
    const std::string updated = UtcText("%Y-%m-%d %H:%M:%S", now);
    while (x.Find(kBalance) != CutText::npos) {
        std::string row = "USD~";
        if (Take(x, kBalance, kBalanceEnd, row, scratch) == Took::Value) {
            row += '~';
            row += updated;
            out.balances.push_back(std::move(row));
        }
    }
    while (CutMarker(x, kTransaction)) {
        std::string row;
        TakeOrBlank(x, kTransId, kTransIdEnd, row, scratch);
        row += '~';
        TakeOrBlank(x, kMemo, kMemoEnd, row, scratch);
        row += '~';
        TakeOrBlank(x, kPaymentId, kPaymentIdEnd, row, scratch);
        row += '~';
        // The parties are parsed from the element as it arrived, tags and all.
        const std::size_t s = x.Find(kToFrom);
        if (s == CutText::npos) {
            row += ' ';
        } else {
            const std::size_t v = s + x.MarkerSize(kToFrom);
            const std::size_t e = x.Find(kToFromEnd, v);
            if (e == CutText::npos) {
                x.Cut(s, v);
                row += ' ';
            } else {
                AppendParty(row, x.Left(v, e, scratch), party);
                x.Cut(s, e + x.MarkerSize(kToFromEnd));
            }
        }
        row += '~';
        TakeOrBlank(x, kTimestamp, kTimestampEnd, row, scratch);
        row += '~';
        TakeOrBlank(x, kAmount, kAmountEnd, row, scratch);
        row += '~';
        TakeOrBlank(x, kTransType, kTransTypeEnd, row, scratch);
        out.transactions.push_back(std::move(row));
    }
    while (x.Find(kAccountName) != CutText::npos) {
        std::string name;
        if (Take(x, kAccountName, kAccountNameEnd, name, scratch) == Took::Value)
            out.accountNames.push_back(std::move(name));
    }
}

}  // namespace pw::vm
