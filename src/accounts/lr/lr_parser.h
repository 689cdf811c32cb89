#pragma once
// The answer parser of the Liberty Reserve interface: a tag extractor that turns an answer
// into lists of "~"-joined rows. Records are taken kind by kind (Error, Balance, Pager,
// AccountName, Receipt with its Transfer); each child is the first one left anywhere in the
// text, and what has been taken is gone for the later searches. Values are decoded once here
// (the five predefined entities, numeric references; anything else stays as it is) and a
// "~" in them is written "-"; an empty value is stored as one space.
#include <string>
#include <string_view>

#include "store/row_list.h"
#include "store/text_list.h"

namespace pw::lr {

struct LrAnswer {
    std::string responseId;
    TextList errors;        // Code~Text~Description
    TextList balances;      // CurrencyId~Value~Date~AccountId
    TextList pagers;        // PageSize~PageCount~PageNumber~TotalCount
    TextList accountNames;  // AccountToRetrieve~Date~Name
    RowList receipts;       // ReceiptId~Date~PayerName~PayeeName~Amount~Fee~ClosingBalance
    RowList transfers;      // TransferId~TransferType~Payer~Payee~CurrencyId~Amount~Memo~Anonymous~Source

    bool operator==(const LrAnswer&) const = default;
};

// clear: empty the response id and the lists first; otherwise rows are appended. A child
// whose closing tag is missing ends the extraction of its kind and its record is dropped.
// Time and memory grow linearly with the answer.
void ParseAnswer(std::string_view answer, bool clear, LrAnswer& out);

// ParseAnswer is these two: an answer in the usual shape (records one after another, each
// child once, no tag of the interface inside a value, records sharing an element name in the
// order they are taken) is read in one forward pass; ReadUsualShape gives false for any other,
// leaving out as it was, and ReadAnyShape reads it by the general extraction.
bool ReadUsualShape(std::string_view answer, bool clear, LrAnswer& out);
void ReadAnyShape(std::string_view answer, bool clear, LrAnswer& out);

}  // namespace pw::lr
