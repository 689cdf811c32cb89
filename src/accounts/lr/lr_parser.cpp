#include "accounts/lr/lr_parser.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <vector>

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

constexpr std::array<const char*, kNameCount> kNames = {
    "Error", "Code", "Text", "Description",
    "Balance", "CurrencyId", "Value", "Date", "AccountId",
    "Pager", "PageSize", "PageCount", "PageNumber", "TotalCount",
    "AccountName", "AccountToRetrieve", "Name",
    "Receipt", "ReceiptId", "PayerName", "PayeeName", "Amount", "Fee", "ClosingBalance",
    "Transfer", "TransferId", "TransferType", "Payer", "Payee", "Memo", "Anonymous", "Source"};

constexpr std::size_t kLongestTag = 24;  // "</AccountToRetrieve>" and some room

// Token ids: 2*name for "<name>", 2*name+1 for "</name>".
const std::unordered_map<std::string_view, int>& TokenIds() {
    static const auto* map = [] {
        static std::array<std::string, 2 * kNameCount> texts;
        auto* m = new std::unordered_map<std::string_view, int>();
        for (int i = 0; i < kNameCount; ++i) {
            texts[2 * i] = std::string("<") + kNames[i] + ">";
            texts[2 * i + 1] = std::string("</") + kNames[i] + ">";
            m->emplace(texts[2 * i], 2 * i);
            m->emplace(texts[2 * i + 1], 2 * i + 1);
        }
        return m;
    }();
    return *map;
}

std::size_t OpenLen(int name) { return std::strlen(kNames[name]) + 2; }
std::size_t CloseLen(int name) { return std::strlen(kNames[name]) + 3; }

// The answer with the stretches taken so far marked as gone. Gone bytes are skipped with a
// "next byte still present" forest; the known tags are indexed once, by position.
class Extractor {
public:
    explicit Extractor(std::string_view text) : text_(text), next_(text.size() + 1) {
        for (std::size_t i = 0; i < next_.size(); ++i) next_[i] = static_cast<std::uint32_t>(i);
        IndexTags();
    }

    std::string_view Text() const { return text_; }

    // Marks [a, b) as gone.
    void Remove(std::size_t a, std::size_t b) {
        for (std::size_t i = Present(a); i < b; i = Present(i + 1))
            next_[i] = static_cast<std::uint32_t>(b);
    }

    // The first present token at or after from that ends by to.
    std::optional<std::size_t> Find(int token, std::size_t from, std::size_t to) {
        Occurrences& occ = tokens_[token];
        const std::size_t len = token % 2 == 0 ? OpenLen(token / 2) : CloseLen(token / 2);
        std::size_t k = std::lower_bound(occ.pos.begin(), occ.pos.end(), from) - occ.pos.begin();
        for (k = occ.Live(k); k < occ.pos.size(); k = occ.Live(k)) {
            const std::size_t p = occ.pos[k];
            if (Present(p) == p) return p + len <= to ? std::optional<std::size_t>(p) : std::nullopt;
            occ.skip[k] = static_cast<std::uint32_t>(k + 1);  // taken: never look at it again
        }
        return std::nullopt;
    }

    // The present bytes of [a, b), in order.
    std::string Collect(std::size_t a, std::size_t b) {
        std::string out;
        for (std::size_t i = Present(a); i < b; i = Present(i)) {
            std::size_t j = i;
            while (j < b && next_[j] == j) ++j;
            out.append(text_.data() + i, j - i);
            i = j;
        }
        return out;
    }

private:
    struct Occurrences {
        std::vector<std::size_t> pos;
        std::vector<std::uint32_t> skip;  // forest over occurrence indexes: next not yet taken
        std::size_t Live(std::size_t k) {
            if (skip.size() != pos.size() + 1) {
                skip.resize(pos.size() + 1);
                for (std::size_t i = 0; i < skip.size(); ++i) skip[i] = static_cast<std::uint32_t>(i);
            }
            std::size_t root = k;
            while (skip[root] != root) root = skip[root];
            while (skip[k] != root) {
                const std::size_t up = skip[k];
                skip[k] = static_cast<std::uint32_t>(root);
                k = up;
            }
            return root;
        }
    };

    std::size_t Present(std::size_t i) {
        if (i >= next_.size()) return next_.size() - 1;
        std::size_t root = i;
        while (next_[root] != root) root = next_[root];
        while (next_[i] != root) {
            const std::size_t up = next_[i];
            next_[i] = static_cast<std::uint32_t>(root);
            i = up;
        }
        return root;
    }

    void IndexTags() {
        const auto& ids = TokenIds();
        const char* base = text_.data();
        const std::size_t n = text_.size();
        std::size_t i = 0;
        while (i < n) {
            const void* lt = std::memchr(base + i, '<', n - i);
            if (!lt) break;
            i = static_cast<const char*>(lt) - base;
            std::size_t j = i + 1;
            const std::size_t limit = std::min(n, i + kLongestTag);
            while (j < limit && base[j] != '>' && base[j] != '<') ++j;
            if (j < limit && base[j] == '>') {
                const auto it = ids.find(text_.substr(i, j - i + 1));
                if (it != ids.end()) tokens_[it->second].pos.push_back(i);
                i = j + 1;
            } else {
                i = j;
            }
        }
    }

    std::string_view text_;
    std::vector<std::uint32_t> next_;
    std::array<Occurrences, 2 * kNameCount> tokens_;
};

enum class Outcome { Done, Taken, Broken };

// Takes one record of kind `element` with `children` from [from, to). The Receipt's Transfer
// child hands its stretch to the transfer extraction instead of giving a value.
Outcome TakeRecord(Extractor& x, int element, const std::vector<int>& children, std::size_t from,
                   std::size_t to, TextList& rows, TextList* transfers);

void TakeAll(Extractor& x, int element, const std::vector<int>& children, std::size_t from,
             std::size_t to, TextList& rows, TextList* transfers = nullptr) {
    while (TakeRecord(x, element, children, from, to, rows, transfers) == Outcome::Taken) {
    }
}

const std::vector<int>& TransferChildren() {
    static const std::vector<int> c = {kTransferId, kTransferType, kPayer,     kPayee,    kCurrencyId,
                                       kAmount,     kMemo,         kAnonymous, kSource};
    return c;
}

Outcome TakeRecord(Extractor& x, int element, const std::vector<int>& children, std::size_t from,
                   std::size_t to, TextList& rows, TextList* transfers) {
    const auto open = x.Find(2 * element, from, to);
    if (!open) return Outcome::Done;
    x.Remove(*open, *open + OpenLen(element));

    std::string row;
    bool first = true;
    TextList found;  // transfer rows of this record, kept until the record is complete
    for (const int child : children) {
        const auto start = x.Find(2 * child, from, to);
        if (!start) continue;
        const std::size_t valueStart = *start + OpenLen(child);
        const auto end = x.Find(2 * child + 1, valueStart, to);
        if (!end) return Outcome::Broken;  // no closing tag: the record is dropped
        const std::size_t stretchEnd = *end + CloseLen(child);
        if (child == kTransfer && transfers) {
            TakeAll(x, kTransfer, TransferChildren(), *start, stretchEnd, found);
        } else {
            std::string value = x.Collect(valueStart, *end);
            if (value.empty()) value.push_back(' ');  // an empty value is one space
            if (!first) row += '~';
            row += value;
            first = false;
        }
        x.Remove(*start, stretchEnd);
    }
    rows.push_back(std::move(row));
    if (transfers) transfers->insert(transfers->end(), found.begin(), found.end());
    return Outcome::Taken;
}

}  // namespace

void ParseAnswer(std::string_view answer, bool clear, LrAnswer& out) {
    if (clear) out = LrAnswer{};
    if (answer.size() >= UINT32_MAX) return;  // far beyond any answer of the interface

    Extractor x(answer);
    const std::size_t n = answer.size();

    static constexpr std::string_view kId = "Response id=\"";
    if (const std::size_t p = answer.find(kId); p != std::string_view::npos) {
        const std::size_t start = p + kId.size();
        if (const std::size_t q = answer.find('"', start); q != std::string_view::npos) {
            out.responseId = std::string(answer.substr(start, q - start));
            x.Remove(p, q + 1);
        }
    }

    TakeAll(x, kError, {kCode, kText, kDescription}, 0, n, out.errors);
    TakeAll(x, kBalance, {kCurrencyId, kValue, kDate, kAccountId}, 0, n, out.balances);
    TakeAll(x, kPager, {kPageSize, kPageCount, kPageNumber, kTotalCount}, 0, n, out.pagers);
    TakeAll(x, kAccountName, {kAccountToRetrieve, kDate, kName}, 0, n, out.accountNames);
    TakeAll(x, kReceipt,
            {kReceiptId, kDate, kPayerName, kPayeeName, kAmount, kFee, kClosingBalance, kTransfer}, 0, n,
            out.receipts, &out.transfers);
}

}  // namespace pw::lr
