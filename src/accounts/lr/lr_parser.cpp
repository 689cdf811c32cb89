#include "accounts/lr/lr_parser.h"

#include <array>
#include <cstdint>
#include <cstring>
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
            texts[2 * i] = "<" + std::string(kNames[i]) + ">";
            texts[2 * i + 1] = "</" + std::string(kNames[i]) + ">";
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

    Outcome TakeRecord(int element, const std::vector<int>& children, std::size_t from,
                       std::size_t to, TextList& rows, TextList* transfers);

    void TakeAll(int element, const std::vector<int>& children, std::size_t from, std::size_t to,
                 TextList& rows, TextList* transfers = nullptr) {
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
Outcome Parse::TakeRecord(int element, const std::vector<int>& children, std::size_t from,
                          std::size_t to, TextList& rows, TextList* transfers) {
    const std::size_t open = x.Find(Open(element), from, to);
    if (open == CutText::npos) return Outcome::Done;
    x.Cut(open, open + x.MarkerSize(Open(element)));

    std::string row;
    bool first = true;
    TextList found;  // transfer rows of this record, kept until the record is complete
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
        for (std::string& t : found) transfers->push_back(std::move(t));
    }
    return Outcome::Taken;
}

}  // namespace

void ParseAnswer(std::string_view answer, bool clear, LrAnswer& out) {
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
