#include "accounts/vm/vm_parser.h"

#include <array>
#include <cstdint>
#include <cstring>
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
    int next;                   // the tag that likely follows the last child
    std::array<std::int8_t, kAccountNameEnd + 1> slot;  // per marker: its child's index, or -1
};

Record MakeRecord(int opener, std::vector<int> children, int next) {
    Record r{opener, std::move(children), next, {}};
    r.slot.fill(-1);
    for (std::size_t i = 0; i < r.children.size(); ++i)
        r.slot[static_cast<std::size_t>(r.children[i])] = static_cast<std::int8_t>(i);
    return r;
}

const Record& StatusRecord() {
    static const Record r = MakeRecord(kStatus, {kCode, kMessage}, kStatus);
    return r;
}
const Record& TransactionRecord() {
    static const Record r =
        MakeRecord(kTransaction, {kTransId, kMemo, kPaymentId, kToFrom, kTimestamp, kAmount, kTransType}, kTransaction);
    return r;
}
constexpr std::size_t kPartySlot = 3;  // ToFromAccount in the transaction row

// The closing marker of an opening one: every element marker is followed by its end.
int EndOf(int open) { return open + 1; }

// The usual ToFromAccount value: "<AccountId>a</AccountId>" "<Name>n</Name>" pairs (a and n
// without "<"; text between the tags is skipped) up to "</ToFromAccount>". Every "<" in it
// then begins one of these four tags, none of which is a tag of the answer, so
// "</ToFromAccount>" is the next tag of the answer after "<ToFromAccount>"; and the general
// extraction of the parties finds exactly these pairs. The tags, by index.
const std::vector<std::string_view>& PlainPartyTags() {
    static const std::vector<std::string_view> m = {"<AccountId>", "</AccountId>", "<Name>", "</Name>",
                                                    "</ToFromAccount>"};
    return m;
}

class UsualShape {
public:
    explicit UsualShape(std::string_view answer) : text_(answer), tags_(answer, AnswerMarkers()) {}

    // The value of the element whose opening tag is t: false unless the next tag closes it.
    bool Value(const TagScanner::Tag& t, std::size_t& pos, std::string_view& value) {
        const std::size_t v = t.pos + tags_.Size(t.marker);
        const TagScanner::Tag end = tags_.NextExpecting(v, EndOf(t.marker));
        if (end.marker != EndOf(t.marker)) return false;
        value = text_.substr(v, end.pos - v);
        pos = end.pos + tags_.Size(end.marker);
        return true;
    }

    // The children of a record from pos up to the first tag that is not one of them, each at
    // most once; a missing one is " ". False when a record before lacked a child this one has
    // (the pass would have taken this one's for it). A ToFromAccount of the usual shape is
    // marked in plainParty_.
    bool Children(const Record& r, std::uint32_t& lacking, std::size_t& pos, std::string_view* values) {
        std::uint32_t present = 0;
        for (std::size_t next = 0;;) {
            const TagScanner::Tag t =
                tags_.NextExpecting(pos, next < r.children.size() ? r.children[next] : r.next);
            const int slot = t.marker < 0 ? -1 : r.slot[static_cast<std::size_t>(t.marker)];
            if (slot < 0) {
                tags_.PutBack(t);  // the record ends here; the caller goes on from this tag
                break;
            }
            const auto i = static_cast<std::size_t>(slot);
            if (present & (1u << i)) return false;
            present |= 1u << i;
            next = i + 1;
            if (t.marker == kToFrom) {
                const std::size_t v = t.pos + tags_.Size(t.marker);
                const std::size_t close = PlainParties(v);
                plainParty_ = close != std::string_view::npos;
                if (plainParty_) {
                    values[i] = text_.substr(v, close - v);
                    pos = close + tags_.Size(kToFromEnd);
                    continue;
                }
            }
            if (!Value(t, pos, values[i])) return false;
        }
        if (present & lacking) return false;
        const std::uint32_t all = (1u << r.children.size()) - 1;
        lacking |= all & ~present;
        for (std::size_t i = 0; i < r.children.size(); ++i)
            if (!(present & (1u << i))) values[i] = {};
        if (!(present & (1u << kPartySlot))) plainParty_ = true, pairs_.clear();  // missing: " "
        return true;
    }

    bool Read(std::time_t now, VmAnswer& got) {
        bool response = false;
        std::uint32_t statusLacking = 0, transactionLacking = 0;
        std::string_view values[7];
        std::string updated;
        int expect = -1;  // the tag that likely comes next
        for (std::size_t pos = 0;;) {
            const TagScanner::Tag t = expect < 0 ? tags_.Next(pos) : tags_.NextExpecting(pos, expect);
            if (t.marker < 0) break;
            pos = t.pos + tags_.Size(t.marker);
            expect = t.marker;
            std::string_view value;
            switch (t.marker) {
            case kResponse:
                response = true;
                break;
            case kStatus: {
                if (!Children(StatusRecord(), statusLacking, pos, values)) return false;
                std::string row(values[0].size() + values[1].size() + 3, '\0');
                char* w = PutXmlValue(row.data(), values[0]);
                const bool error = IsErrorCode(std::string_view(row.data(), static_cast<std::size_t>(w - row.data())));
                *w++ = '~';
                w = PutXmlValue(w, values[1]);
                row.resize(static_cast<std::size_t>(w - row.data()));
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
                AddTransaction(got.transactions, values);
                ReserveLikeFirst(got.transactions, pos - t.pos, text_.size() - pos);
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

    // The seven fields joined by "~", written straight into the list: each at most its value's
    // size (decoding never makes a value longer) or one space; the parties of a plain
    // ToFromAccount no longer than its value ("a (n)" for the 36 bytes of tags around a and n).
    void AddTransaction(RowList& rows, const std::string_view* values) {
        std::size_t size = 14;
        if (!plainParty_) {
            party_.clear();
            AppendParty(party_, values[kPartySlot], general_);
            size += party_.size();
        }
        for (std::size_t i = 0; i < 7; ++i) size += values[i].size();
        char* const start = rows.AddRow(size);
        char* w = start;
        for (std::size_t i = 0; i < 7; ++i) {
            if (i > 0) *w++ = '~';
            if (i != kPartySlot) {
                w = PutXmlValue(w, values[i]);
            } else if (!plainParty_) {
                std::memcpy(w, party_.data(), party_.size());
                w += party_.size();
            } else {
                w = PutParties(w);
            }
        }
        rows.ShortenLast(static_cast<std::size_t>(w - start));
    }

    // The pairs of a plain ToFromAccount value from v into pairs_; the position of its
    // "</ToFromAccount>", or npos for a value of any other shape.
    std::size_t PlainParties(std::size_t v) {
        pairs_.clear();
        const std::size_t n = text_.size();
        const auto next = [&](std::size_t p) { return p + scan::Find(text_.data() + p, n - p, '<'); };
        const auto at = [&](std::size_t p, int tag) { return partyTags_.Begins(text_.data() + p, n - p, tag); };
        for (std::size_t lt = next(v);;) {
            if (at(lt, 4)) return lt;
            std::array<std::string_view, 2> pair;
            for (int f = 0; f < 2; ++f) {
                if (!at(lt, 2 * f)) return std::string_view::npos;
                const std::size_t from = lt + partyTags_.Size(2 * f);
                lt = next(from);
                if (!at(lt, 2 * f + 1)) return std::string_view::npos;
                pair[static_cast<std::size_t>(f)] = text_.substr(from, lt - from);
                lt = next(lt + partyTags_.Size(2 * f + 1));
            }
            pairs_.push_back(pair);
        }
    }

    // The parties of pairs_: "account (name)" ("Fee Account" alone), joined by ", "; none: " ".
    char* PutParties(char* w) {
        char* const start = w;
        for (const auto& [account, name] : pairs_) {
            if (w != start) *w++ = ',', *w++ = ' ';
            char* const at = w;
            w = PutXmlValue(w, account);
            if (std::string_view(at, static_cast<std::size_t>(w - at)) != "Fee Account") {
                *w++ = ' ', *w++ = '(';
                w = PutXmlValue(w, name);
                *w++ = ')';
            }
        }
        if (w == start) *w++ = ' ';
        return w;
    }

    std::string_view text_;
    TagReader tags_;
    TagScanner partyTags_{PlainPartyTags()};
    bool plainParty_ = true;  // the ToFromAccount of the record being read has the usual shape
    std::vector<std::array<std::string_view, 2>> pairs_;  // its account and name pairs
    std::string party_;                                    // the parties of one of any other shape
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
