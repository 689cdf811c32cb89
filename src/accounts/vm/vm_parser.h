#pragma once
// The answer parser of the V-Money interface. Four passes (Status, Balance, Transaction,
// AccountName) each take the first occurrence left in the answer and cut what they took out
// of it, until their opening marker is gone; time and memory grow linearly with the answer.
// Values are decoded once here (the five predefined entities, numeric references) and a "~"
// in them is written "-"; an empty or missing value is one space. An opening tag without its
// closing tag yields " " (or, for a Balance or an AccountName, nothing) and is cut out, so
// every pass ends.
#include <ctime>
#include <string>
#include <string_view>

#include "store/row_list.h"
#include "store/text_list.h"

namespace pw::vm {

struct VmAnswer {
    TextList errors;        // Code~Message, only codes holding "Error", "Fail" or "Partial"
    TextList balances;      // USD~value~update time (UTC, "%Y-%m-%d %H:%M:%S" of now)
    RowList transactions;   // TransId~Memo~PaymentId~party~Timestamp~Amount~TransType
    TextList accountNames;

    bool operator==(const VmAnswer&) const = default;
};

// Empties out, then fills it from answer; an answer without "<Response>" gives nothing.
void ParseAnswer(std::string_view answer, std::time_t now, VmAnswer& out);

// ParseAnswer is these two: an answer in the usual shape (each element a "<Name>value</Name>"
// with no tag of the interface inside, Code and Message once each after every Status, the
// seven children once each after every Transaction) is read in one forward pass;
// ReadUsualShape gives false for any other and ReadAnyShape reads it by the four passes.
bool ReadUsualShape(std::string_view answer, std::time_t now, VmAnswer& out);
void ReadAnyShape(std::string_view answer, std::time_t now, VmAnswer& out);

// The party of a "ToFromAccount" value: "Fee Account" alone, otherwise "account (name)".
// Several parties are joined with ", " and no AccountId gives " ", so a transaction row always
// has seven fields.
std::string PartyOf(std::string toFromAccount);

}  // namespace pw::vm
