#include "accounts/vm/vm_parser.h"

#include <utility>
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

// The usual shape, read in one pass. The four passes take their elements as the first ones left
// anywhere; on an answer where outside elements only "<Response>", "<Status>",
// "<Transaction>", a Balance or an AccountName stands, where each Status is followed by its
// Code and Message and each Transaction by its seven children (any order, each once), and
// where each element is "<Name>value</Name>" with no tag of the interface inside the value,
// the k-th Status, Transaction, Balance or AccountName left is always the k-th in the text
// and its children are its own (no name is shared between kinds), so the passes give
// exactly the rows read here in text order.
struct Record {
    int opener;
    std::vector<int> children;  // opening markers, in the order of the row
};

const Record& StatusRecord() {
    static const Record r{kStatus, {kCode, kMessage}};
    return r;
}
const Record& TransactionRecord() {
    static const Record r{kTransaction, {kTransId, kMemo, kPaymentId, kToFrom, kTimestamp, kAmount, kTransType}};
    return r;
}

// The closing marker of an opening one: every element marker is followed by its end.
int EndOf(int open) { return open + 1; }

class UsualShape {
public:
    explicit UsualShape(std::string_view answer) : text_(answer), tags_(answer, AnswerMarkers()) {}

    // The value of the element whose opening tag is t: false unless the next tag closes it.
    bool Value(const TagScanner::Tag& t, std::size_t& pos, std::string_view& value) {
        const std::size_t v = t.pos + tags_.Size(t.marker);
        const TagScanner::Tag end = tags_.Next(v);
        if (end.marker != EndOf(t.marker)) return false;
        value = text_.substr(v, end.pos - v);
        pos = end.pos + tags_.Size(end.marker);
        return true;
    }

    // The children of a record from pos up to the first tag that is not one of them, each at
    // most once; a missing one is " ". False when a record before lacked a child this one has
    // (the pass would have taken this one's for it).
    bool Children(const Record& r, std::uint32_t& lacking, std::size_t& pos, std::string_view* values) {
        std::uint32_t present = 0;
        for (;;) {
            const TagScanner::Tag t = tags_.Next(pos);
            std::size_t slot = 0;
            while (slot < r.children.size() && r.children[slot] != t.marker) ++slot;
            if (slot == r.children.size()) {
                tags_.PutBack(t);  // the record ends here; the caller goes on from this tag
                break;
            }
            if (present & (1u << slot)) return false;
            present |= 1u << slot;
            if (!Value(t, pos, values[slot])) return false;
        }
        if (present & lacking) return false;
        const std::uint32_t all = (1u << r.children.size()) - 1;
        lacking |= all & ~present;
        for (std::size_t i = 0; i < r.children.size(); ++i)
            if (!(present & (1u << i))) values[i] = {};
        return true;
    }

    bool Read(std::time_t now, VmAnswer& got) {
        bool response = false;
        std::uint32_t statusLacking = 0, transactionLacking = 0;
        std::string_view values[7];
        std::string updated;
        for (std::size_t pos = 0;;) {
            const TagScanner::Tag t = tags_.Next(pos);
            if (t.marker < 0) break;
            pos = t.pos + tags_.Size(t.marker);
            std::string_view value;
            switch (t.marker) {
            case kResponse:
                response = true;
                break;
            case kStatus: {
                if (!Children(StatusRecord(), statusLacking, pos, values)) return false;
                std::string row;
                row.reserve(values[0].size() + values[1].size() + 3);
                AppendValue(row, values[0]);
                const bool error = IsErrorCode(row);
                row += '~';
                AppendValue(row, values[1]);
                if (error) got.errors.push_back(std::move(row));
                break;
            }
            case kBalance: {
                if (!Value(t, pos, value)) return false;
                if (updated.empty()) updated = UtcText("%Y-%m-%d %H:%M:%S", now);
                std::string row;
                row.reserve(value.size() + updated.size() + 6);
                row += "USD~";
                AppendValue(row, value);
                row += '~';
                row += updated;
                got.balances.push_back(std::move(row));
                break;
            }
            case kTransaction: {
                if (!Children(TransactionRecord(), transactionLacking, pos, values)) return false;
                std::size_t size = 14;
                for (const std::string_view v : values) size += v.size();
                std::string row;
                row.reserve(size);
                for (std::size_t i = 0; i < 7; ++i) {
                    if (i > 0) row += '~';
                    if (i == 3)
                        AppendPartyOf(row, values[i]);
                    else
                        AppendValue(row, values[i]);
                }
                got.transactions.push_back(std::move(row));
                break;
            }
            case kAccountName: {
                if (!Value(t, pos, value)) return false;
                std::string name;
                AppendValue(name, value);
                got.accountNames.push_back(std::move(name));
                break;
            }
            default:
                return false;
            }
        }
        if (!response) got = VmAnswer{};
        return true;
    }

private:
    static void AppendValue(std::string& row, std::string_view value) {
        const std::size_t before = row.size();
        AppendXmlField(row, value);
        if (row.size() == before) row += ' ';
    }

    // The parties of a ToFromAccount value: "<AccountId>a</AccountId><Name>n</Name>" pairs one
    // after another read directly, anything else by the general extraction.
    void AppendPartyOf(std::string& row, std::string_view value) {
        const std::size_t start = row.size();
        bool any = false;
        for (std::size_t pos = 0;;) {
            const TagScanner::Tag id = party_.Next(value, pos);
            if (id.marker < 0) break;
            std::string_view account, name;
            if (id.marker != kAccountId || !PartyValue(value, id, pos, account)) return GeneralParty(row, start, value);
            const TagScanner::Tag n = party_.Next(value, pos);
            if (n.marker != kName || !PartyValue(value, n, pos, name)) return GeneralParty(row, start, value);
            if (any) row += ", ";
            any = true;
            const std::size_t at = row.size();
            AppendValue(row, account);
            if (std::string_view(row).substr(at) != "Fee Account") {
                row += " (";
                AppendValue(row, name);
                row += ')';
            }
        }
        if (!any) row += ' ';
    }

    bool PartyValue(std::string_view text, const TagScanner::Tag& t, std::size_t& pos, std::string_view& value) {
        const std::size_t v = t.pos + party_.Size(t.marker);
        const TagScanner::Tag end = party_.Next(text, v);
        if (end.marker != t.marker + 1) return false;
        value = text.substr(v, end.pos - v);
        pos = end.pos + party_.Size(end.marker);
        return true;
    }

    void GeneralParty(std::string& row, std::size_t start, std::string_view value) {
        row.resize(start);
        AppendParty(row, value, general_);
    }

    std::string_view text_;
    TagReader tags_;
    TagScanner party_{PartyMarkers()};
    CutText general_{PartyMarkers()};
};

}  // namespace

bool ReadUsualShape(std::string_view answer, std::time_t now, VmAnswer& out) {
    if (answer.size() >= UINT32_MAX) return false;
    VmAnswer got;
    if (!UsualShape(answer).Read(now, got)) return false;
    out = std::move(got);
    return true;
}

void ParseAnswer(std::string_view answer, std::time_t now, VmAnswer& out) {
    if (!ReadUsualShape(answer, now, out)) ReadAnyShape(answer, now, out);
}

std::string PartyOf(std::string toFromAccount) {
    std::string out;
    CutText x(PartyMarkers());
    AppendParty(out, toFromAccount, x);
    return out;
}

void ReadAnyShape(std::string_view answer, std::time_t now, VmAnswer& out) {
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
