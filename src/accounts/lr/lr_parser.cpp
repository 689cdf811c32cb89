#include "accounts/lr/lr_parser.h"

#include <algorithm>
#include <array>
#include <optional>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "accounts/answer_text.h"
#include "accounts/cut_text.h"

namespace pw::lr {
namespace {

// Every element name the parser looks for.
enum Name : int {
    kError, kCode, kText, kDescription,
    kBalance, kCurrencyId, kValue, kDate, kAccountId,
    kPager, kPageSize, kPageCount, kPageNumber, kTotalCount,
    kAccountName, kAccountToRetrieve, kName,
    kReceipt, kReceiptId, kPayerName, kPayeeName, kAmount, kFee, kClosingBalance,
    kTransfer, kTransferId, kTransferType, kPayer, kPayee, kMemo, kAnonymous, kSource,
    kNameCount
};

constexpr std::array<std::string_view, kNameCount> kNames = {
    "Error", "Code", "Text", "Description",
    "Balance", "CurrencyId", "Value", "Date", "AccountId",
    "Pager", "PageSize", "PageCount", "PageNumber", "TotalCount",
    "AccountName", "AccountToRetrieve", "Name",
    "Receipt", "ReceiptId", "PayerName", "PayeeName", "Amount", "Fee", "ClosingBalance",
    "Transfer", "TransferId", "TransferType", "Payer", "Payee", "Memo", "Anonymous", "Source"};

// Marker 2*name is "<name>", 2*name+1 is "</name>".

const std::vector<std::string_view>& Markers() {
    static const std::vector<std::string_view> markers = [] {
        static std::array<std::string, 2 * kNameCount> texts;
        std::vector<std::string_view> m;
        for (int i = 0; i < kNameCount; ++i) {
            texts[2 * i].append("<").append(kNames[i]).append(">");
            texts[2 * i + 1].append("</").append(kNames[i]).append(">");
        }
        for (const std::string& t : texts) m.push_back(t);
        return m;
    }();
    return markers;
}

int Open(int name) { return 2 * name; }
int Close(int name) { return 2 * name + 1; }

enum class Outcome { Done, Taken, Broken };

struct Parse {
    CutText x;
    std::string scratch;

    template <class Rows>
    Outcome TakeRecord(int element, const std::vector<int>& children, std::size_t from, std::size_t to,
                       Rows& rows, RowList* transfers);

    template <class Rows>
    void TakeAll(int element, const std::vector<int>& children, std::size_t from, std::size_t to, Rows& rows,
                 RowList* transfers = nullptr) {
        while (TakeRecord(element, children, from, to, rows, transfers) == Outcome::Taken) {
        }
    }
};

const std::vector<int>& TransferChildren() {
    static const std::vector<int> c = {kTransferId, kTransferType, kPayer,     kPayee,    kCurrencyId,
                                       kAmount,     kMemo,         kAnonymous, kSource};
    return c;
}

// Takes one record of kind `element` with `children` from [from, to): the first opening tag
// left, then each child's first occurrence left. The Receipt's Transfer child hands its
// stretch to the transfer extraction instead of giving a value.
template <class Rows>
Outcome Parse::TakeRecord(int element, const std::vector<int>& children, std::size_t from, std::size_t to,
                          Rows& rows, RowList* transfers) {
    const std::size_t open = x.Find(Open(element), from, to);
    if (open == CutText::npos) return Outcome::Done;
    x.Cut(open, open + x.MarkerSize(Open(element)));

    std::string row;
    bool first = true;
    RowList found;  // transfer rows of this record, kept until the record is complete
    for (const int child : children) {
        const std::size_t start = x.Find(Open(child), from, to);
        if (start == CutText::npos) continue;
        const std::size_t valueStart = start + x.MarkerSize(Open(child));
        const std::size_t end = x.Find(Close(child), valueStart, to);
        if (end == CutText::npos) return Outcome::Broken;  // no closing tag: the record is dropped
        const std::size_t stretchEnd = end + x.MarkerSize(Close(child));
        if (child == kTransfer && transfers) {
            TakeAll(kTransfer, TransferChildren(), start, stretchEnd, found);
        } else {
            if (!first) row += '~';
            first = false;
            const std::size_t before = row.size();
            AppendXmlField(row, x.Left(valueStart, end, scratch));
            if (row.size() == before) row += ' ';  // an empty value is one space
        }
        x.Cut(start, stretchEnd);
    }
    rows.push_back(std::move(row));
    if (transfers) {
        for (const std::string_view t : found) transfers->push_back(t);
    }
    return Outcome::Taken;
}

// The usual shape, read in one pass. The general extraction takes the kinds in order (Error,
// Balance, Pager, AccountName, Receipt), each kind's records in text order, and each child as
// the first one left anywhere (a Transfer's children: the first left inside the Transfer). On
// an answer where
//   - outside records only a record's opening tag or a record's closing tag stands,
//   - a record holds each of its children at most once, in any order, as "<C>value</C>" with
//     no tag of the interface inside the value, a Receipt's Transfer (holding the nine transfer
//     children the same way) coming after its values,
//   - no child is left for a record that comes earlier in the order of taking: neither one
//     standing before the record in the text but belonging to a kind taken later (Date is
//     shared by Balance, AccountName and Receipt, CurrencyId by Balance and Transfer, Amount
//     by Receipt and Transfer), nor, for a record lacking a child, one of a record taken after,
//   - the response id stands before the first tag,
// the first child left is always the record's own (or none), nothing taken lies inside a
// value, and so that extraction gives exactly the rows read here in text order.
struct Kind {
    int element;
    std::vector<int> children;  // the value children, in the order of the row
    int order;                  // when the general extraction takes this kind
    TextList LrAnswer::*rows;   // nullptr: the receipts
};

constexpr int kKinds = 5;
constexpr int kMarkers = 2 * kNameCount;

const std::array<Kind, kKinds>& Kinds() {
    static const std::array<Kind, kKinds> kinds = {{
        {kError, {kCode, kText, kDescription}, 0, &LrAnswer::errors},
        {kBalance, {kCurrencyId, kValue, kDate, kAccountId}, 1, &LrAnswer::balances},
        {kPager, {kPageSize, kPageCount, kPageNumber, kTotalCount}, 2, &LrAnswer::pagers},
        {kAccountName, {kAccountToRetrieve, kDate, kName}, 3, &LrAnswer::accountNames},
        {kReceipt, {kReceiptId, kDate, kPayerName, kPayeeName, kAmount, kFee, kClosingBalance, kTransfer}, 4,
         nullptr},
    }};
    return kinds;
}

constexpr int kMaxChildren = 9;

// A record's children by marker: the slot of each child's opening tag, -1 for any other tag,
// and the tag expected after each slot (the next child of the row, after the last one the
// closing tag of the record).
struct Children {
    const std::vector<int>* names = nullptr;
    std::array<std::int8_t, kMarkers> slot{};
    std::array<int, kMaxChildren + 1> expect{};  // expect[0]: the first tag after the opening one
};

Children MakeChildren(const std::vector<int>& names, int element) {
    Children c;
    c.names = &names;
    c.slot.fill(-1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        c.slot[static_cast<std::size_t>(Open(names[i]))] = static_cast<std::int8_t>(i);
        c.expect[i] = Open(names[i]);
    }
    c.expect[names.size()] = Close(element);
    return c;
}

// Per marker: the kind whose opening tag it is, kKinds for a record's closing tag, -1 otherwise;
// and the children of each kind and of the Transfer.
struct Tables {
    std::array<std::int8_t, kMarkers> kindOf{};
    std::array<Children, kKinds> children;
    Children transfer;
};

const Tables& MarkerTables() {
    static const Tables t = [] {
        Tables t;
        t.kindOf.fill(-1);
        for (std::size_t k = 0; k < kKinds; ++k) {
            const Kind& kind = Kinds()[k];
            t.kindOf[static_cast<std::size_t>(Open(kind.element))] = static_cast<std::int8_t>(k);
            t.kindOf[static_cast<std::size_t>(Close(kind.element))] = kKinds;
            t.children[k] = MakeChildren(kind.children, kind.element);
        }
        t.transfer = MakeChildren(TransferChildren(), kTransfer);
        return t;
    }();
    return t;
}

// The values present joined by "~" at w, each decoded, an empty one as one space; the end of
// what was written. Room needed: Room (decoding never makes a value longer).
char* PutValues(char* w, const std::string_view* values, std::uint32_t present, std::size_t count) {
    bool first = true;
    for (std::size_t i = 0; i < count; ++i) {
        if (!(present & (1u << i))) continue;
        if (!first) *w++ = '~';
        first = false;
        w = PutXmlValue(w, values[i]);
    }
    return w;
}

// Sizes of the values present, and for each a "~" and a space in place of an empty one.
std::size_t Room(const std::string_view* values, std::uint32_t present, std::size_t count) {
    std::size_t size = 2 * count;
    for (std::size_t i = 0; i < count; ++i)
        if (present & (1u << i)) size += values[i].size();
    return size;
}

void AddValues(TextList& rows, const std::string_view* values, std::uint32_t present, std::size_t count) {
    std::string row(Room(values, present, count), '\0');
    row.resize(static_cast<std::size_t>(PutValues(row.data(), values, present, count) - row.data()));
    rows.push_back(std::move(row));
}

void AddValues(RowList& rows, const std::string_view* values, std::uint32_t present, std::size_t count) {
    char* const start = rows.AddRow(Room(values, present, count));
    rows.ShortenLast(static_cast<std::size_t>(PutValues(start, values, present, count) - start));
}

class UsualShape {
public:
    explicit UsualShape(std::string_view answer) : text_(answer), tags_(answer, Markers()) {
        latestWith_.fill(-1);
        earliestWithout_.fill(kNameCount);
    }

    bool Read(LrAnswer& got) {
        static constexpr std::string_view kId = "Response id=\"";
        std::size_t idEnd = 0;
        if (const void* hit = text_.size() < kId.size() ? nullptr : ::memmem(text_.data(), text_.size(), kId.data(), kId.size())) {
            const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data());
            const std::size_t start = at + kId.size();
            if (const std::size_t q = text_.find('"', start); q != std::string_view::npos) {
                id_ = std::string(text_.substr(start, q - start));
                idEnd = q + 1;
            }
        }
        const Tables& tables = MarkerTables();
        std::string_view values[kMaxChildren];
        int expect = -1;  // the tag that likely comes next: a record's closing tag, then the next record
        for (std::size_t pos = 0;;) {
            const TagScanner::Tag tag = expect < 0 ? tags_.Next(pos) : tags_.NextExpecting(pos, expect);
            if (tag.marker < 0) return true;
            if (tag.pos < idEnd) return false;
            pos = tag.pos + tags_.Size(tag.marker);
            const int k = tables.kindOf[static_cast<std::size_t>(tag.marker)];
            if (k == kKinds) {  // a record's closing tag takes no part
                expect = tag.marker - 1;
                continue;
            }
            if (k < 0) return false;
            const Kind& kind = Kinds()[static_cast<std::size_t>(k)];
            const Children& children = tables.children[static_cast<std::size_t>(k)];
            expect = Close(kind.element);
            std::uint32_t present = 0;
            if (!ReadChildren(children, kind.order, pos, values, present)) return false;
            if (kind.rows) {
                AddValues(got.*(kind.rows), values, present, kind.children.size());
                continue;
            }
            const std::size_t fields = kind.children.size() - 1;  // a Receipt: the last is its Transfer
            AddValues(got.receipts, values, present, fields);
            if (present & (1u << fields)) {
                // The Transfer: its children are looked for inside it only.
                std::size_t inside = transferStart_;
                std::uint32_t found = 0;
                if (!ReadChildren(tables.transfer, -1, inside, values, found)) return false;
                const TagScanner::Tag end = tags_.NextExpecting(inside, Close(kTransfer));
                if (end.marker != Close(kTransfer)) return false;
                const std::vector<int>& transferChildren = *tables.transfer.names;
                AddValues(got.transfers, values, found, transferChildren.size());
                for (const int c : transferChildren) latestWith_[static_cast<std::size_t>(c)] = kind.order;
                for (std::size_t i = 0; i < transferChildren.size(); ++i)
                    if ((found & (1u << i)) && earliestWithout_[static_cast<std::size_t>(transferChildren[i])] <= kind.order)
                        return false;
                pos = end.pos + tags_.Size(end.marker);
                ReserveLikeFirst(got.transfers, pos - tag.pos, text_.size() - pos);
            }
            ReserveLikeFirst(got.receipts, pos - tag.pos, text_.size() - pos);
        }
    }

    const std::optional<std::string>& Id() const { return id_; }

private:
    // Reads the children of one record from pos up to the first tag that is not one of them
    // (not taken). order: the record's place in the order of taking, -1 inside a Transfer
    // (bounded: nothing outside it is looked at). A Transfer child ends the record: pos is
    // left at its opening tag and transferStart_ after it.
    bool ReadChildren(const Children& c, int order, std::size_t& pos, std::string_view* values,
                      std::uint32_t& present) {
        const std::vector<int>& children = *c.names;
        for (int next = 0;;) {
            const TagScanner::Tag open = tags_.NextExpecting(pos, c.expect[static_cast<std::size_t>(next)]);
            const int slot = open.marker < 0 ? -1 : c.slot[static_cast<std::size_t>(open.marker)];
            if (slot < 0) {
                tags_.PutBack(open);  // the record ends here; the caller goes on from this tag
                break;
            }
            const std::uint32_t bit = 1u << slot;
            if (present & bit) return false;  // twice
            present |= bit;
            if (children[static_cast<std::size_t>(slot)] == kTransfer) {
                transferStart_ = open.pos + tags_.Size(open.marker);
                pos = open.pos;
                break;
            }
            const std::size_t v = open.pos + tags_.Size(open.marker);
            const TagScanner::Tag close = tags_.NextExpecting(v, open.marker + 1);
            if (close.marker != open.marker + 1) return false;
            values[slot] = text_.substr(v, close.pos - v);
            pos = close.pos + tags_.Size(close.marker);
            next = slot + 1;
        }
        if (order < 0) return true;
        for (std::size_t i = 0; i < children.size(); ++i) {
            const auto name = static_cast<std::size_t>(children[i]);
            if (latestWith_[name] > order) return false;  // one of a later kind stands before it
            if (present & (1u << i)) {
                if (earliestWithout_[name] <= order) return false;  // an earlier record lacks it
                latestWith_[name] = order;
            } else {
                earliestWithout_[name] = std::min(earliestWithout_[name], order);
            }
        }
        return true;
    }

    std::string_view text_;
    TagReader tags_;
    std::optional<std::string> id_;
    std::size_t transferStart_ = 0;
    // Per name: the latest kind (by order of taking) holding it so far; the earliest kind with a
    // record lacking it so far.
    std::array<int, kNameCount> latestWith_{};
    std::array<int, kNameCount> earliestWithout_{};
};

template <class Rows>
void AppendRows(Rows& to, Rows&& from) {
    if (to.empty()) {
        to = std::move(from);
        return;
    }
    for (auto&& row : from) to.push_back(std::move(row));
}

}  // namespace

bool ReadUsualShape(std::string_view answer, bool clear, LrAnswer& out) {
    if (answer.size() >= UINT32_MAX) return false;
    UsualShape shape(answer);
    LrAnswer got;
    if (!shape.Read(got)) return false;
    if (clear) out = LrAnswer{};
    if (shape.Id()) out.responseId = *shape.Id();
    AppendRows(out.errors, std::move(got.errors));
    AppendRows(out.balances, std::move(got.balances));
    AppendRows(out.pagers, std::move(got.pagers));
    AppendRows(out.accountNames, std::move(got.accountNames));
    AppendRows(out.receipts, std::move(got.receipts));
    AppendRows(out.transfers, std::move(got.transfers));
    return true;
}

void ParseAnswer(std::string_view answer, bool clear, LrAnswer& out) {
    if (!ReadUsualShape(answer, clear, out)) ReadAnyShape(answer, clear, out);
}

void ReadAnyShape(std::string_view answer, bool clear, LrAnswer& out) {
    if (clear) out = LrAnswer{};
    if (answer.size() >= UINT32_MAX) return;  // far beyond any answer of the interface

    Parse p{CutText(answer, Markers()), {}};
    const std::size_t n = answer.size();

    // Nothing is cut yet: the first response id of the text is the first of the answer.
    static constexpr std::string_view kId = "Response id=\"";
    if (const void* hit = n < kId.size() ? nullptr : ::memmem(answer.data(), n, kId.data(), kId.size())) {
        const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(hit) - answer.data());
        const std::size_t start = at + kId.size();
        if (const std::size_t q = answer.find('"', start); q != std::string_view::npos) {
            out.responseId = std::string(answer.substr(start, q - start));
            p.x.Cut(at, q + 1);
        }
    }

    p.TakeAll(kError, {kCode, kText, kDescription}, 0, n, out.errors);
    p.TakeAll(kBalance, {kCurrencyId, kValue, kDate, kAccountId}, 0, n, out.balances);
    p.TakeAll(kPager, {kPageSize, kPageCount, kPageNumber, kTotalCount}, 0, n, out.pagers);
    p.TakeAll(kAccountName, {kAccountToRetrieve, kDate, kName}, 0, n, out.accountNames);
    p.TakeAll(kReceipt,
              {kReceiptId, kDate, kPayerName, kPayeeName, kAmount, kFee, kClosingBalance, kTransfer},
              0, n, out.receipts, &out.transfers);
}

}  // namespace pw::lr
