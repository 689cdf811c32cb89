#pragma once
// The per-system hooks of the account tab. The tab frame is written once; each payment
// system supplies its traits (section keys, columns, messages, currencies) and a client that
// builds requests and parses answers. No widgets here. src/accounts/README.md says what a new
// system supplies and which steps of the tab it may override.
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "accounts/record_text.h"
#include "crypto/secure_string.h"
#include "store/text_list.h"
#include "store/row_list.h"

namespace pw {

class ModalUi;
class SettingsStore;
class Transport;

enum class Align { Left, Center, Right };

struct ColumnSpec {
    std::string name;
    Align align;
    int defaultWidth;
    // How a cell shows its field: "%.Nf" reads the field as a number and shows it with N
    // decimals; anything else is put before the field's text (" " on most columns).
    std::string format = " ";
    // Drawn green on white when the field's number is above 0, red on white otherwise.
    bool colored = false;
    bool bold = false;
};

// The balance table of the systems that list a value per currency (LR, GDP, ECU), and the
// history table of those that send receipts; LR and ECU also show Anonymous and Source.
std::vector<ColumnSpec> CurrencyBalanceColumns();
std::vector<ColumnSpec> ReceiptHistoryColumns(bool anonymousAndSource);

// A message of the tab: a string-table number, or a fixed text of the system.
struct TabMessage {
    int id = 0;
    std::string text;
    TabMessage() = default;
    TabMessage(int stringId) : id(stringId) {}                 // NOLINT: implicit
    TabMessage(std::string fixed) : text(std::move(fixed)) {}  // NOLINT: implicit
    TabMessage(const char* fixed) : text(fixed) {}             // NOLINT: implicit
    bool Empty() const { return id == 0 && text.empty(); }
    // The string table's text of the number, or the fixed text.
    std::string Text() const;
    friend bool operator==(const TabMessage&, const TabMessage&) = default;
};

// Which fields of a balance row the change notice compares and reports.
struct ChangeFields {
    int currency = 0;  // must be equal in the old and the new row
    int compare = 1;   // a different text here is a change
    int report = 1;    // shown "cur : old/new"
};

struct Date {
    int year = 2000, month = 1, day = 1;
    friend bool operator==(const Date&, const Date&) = default;
};

// What the login fields hold. The API name and the secret are credentials: every copy of them
// is wiped when it is freed.
struct LoginFields {
    std::string account;
    SecureString apiName;  // API name / store identifier; PIN on V-Money
    SecureString secret;   // secret word / password
};

// The filter options of the history.
struct HistoryFilter {
    bool getLast = true;
    int count = 5;
    bool fromTo = false;
    Date from, to;
    bool byAccount = false;
    std::string counterpart;
    bool byBatch = false;
    std::string batch;
    friend bool operator==(const HistoryFilter&, const HistoryFilter&) = default;
};

struct SystemTraits {
    int systemIndex = 0;      // 0..5: LR, PM, VM, EG, GDP, ECU
    std::string prefix;       // "LR"
    std::string systemName;   // "Liberty Reserve" (accessible name of the tab)
    bool full = true;         // full tab: payments, context menus, auto-refresh
    std::vector<ColumnSpec> balanceColumns, historyColumns;
    std::string balanceTableFile, historyTableFile;  // "Balance.set", below Set/
    TextList currencies;
    // Captions of the login fields and the filter labels.
    std::string accountLabel, apiNameLabel, secretLabel, counterpartLabel, batchLabel;
    // Validation messages: string-table numbers or fixed texts of the system.
    TabMessage msgNoAccount = 110, msgNoApiName = 111, msgNoSecret = 112;
    TabMessage msgNoCounterpart = 116, msgNoBatch = 117;
    // The second login field (API name, store, PIN) exists; the secret field always does.
    bool hasApiName = true;
    // Schedule file records.
    int scheduleFieldCount = 8;
    int scheduleDueField = 0;
    // Index of the "Amount" column and of the "From/To" column of a history row.
    int historyAmountColumn = 2;
    int historyCounterpartColumn = 1;
    // The text of a history record.
    RecordDescription record;
    // The fields of a balance row the change notice compares and reports.
    ChangeFields change;
};

// Which request an answer belongs to; a client may parse each one differently.
enum class RequestKind { Balance, History, Transfer, AccountName, Other };

// What one parse of one or more answers yielded.
struct ParsedAnswer {
    TextList errors;       // LR/VM: "code~text~..." rows; the others: error texts
    RowList balanceRows;   // "~"-joined balance rows
    RowList historyRows;   // "~"-joined history rows in column order
    TextList pager;        // LR: "PageSize~PageCount~PageNumber~TotalCount"
};

class AccountClient {
public:
    virtual ~AccountClient() = default;
    virtual const SystemTraits& Traits() const = 0;

    // Full URLs ("https://host/path?...") of the requests. now: the clock reading. They carry
    // the credentials, so they are SecureString all the way to the transport.
    virtual SecureString BalanceUrl(const LoginFields& login, std::time_t now) = 0;
    virtual SecureString HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int page,
                                    std::time_t now) = 0;
    // Parses one answer of a request of the kind; clear=false appends (later history pages).
    virtual void Parse(const std::string& answer, RequestKind kind, bool clear) = 0;
    virtual const ParsedAnswer& Answer() const = 0;

    // Page numbers to fetch after the first page (empty: none).
    virtual std::vector<int> FurtherPages(const HistoryFilter& filter) const = 0;

    // The error report of the last parse: one line per error.
    virtual std::string ErrorReport() const = 0;

    // The transfer request for the first queued payment record; empty (send nothing) when
    // paymentCheck fails or the system has no transfer. Its answer is parsed as
    // RequestKind::Transfer.
    virtual SecureString TransferUrl(const LoginFields& /*login*/, const TextList& /*queue*/,
                                     const std::function<bool()>& /*paymentCheck*/,
                                     std::time_t /*now*/) {
        return {};
    }
    // The system's confirmation in the last answer parsed as RequestKind::Transfer (LR receipt
    // id, PM and EG PAYMENT_BATCH_NUM, VM transaction id); "" when it carried none. Only a
    // confirmation makes a payment count as sent (transfer_request.h).
    virtual std::string TransferConfirmation() const { return {}; }
    // The name of an account, "" when the system has no lookup or the account is empty.
    // Errors of the answer are shown through ui.
    virtual std::string GetAccountName(Transport& /*transport*/, const LoginFields& /*login*/,
                                       const std::string& /*account*/, std::time_t /*now*/,
                                       ModalUi& /*ui*/) {
        return {};
    }
};

// "Code : %s, Message : %s \n" per entry (LR, VM).
std::string CodeMessageReport(const TextList& errors);
// "Error : %s \n" per entry (PM, EG, GDP, ECU).
std::string ErrorLineReport(const TextList& errors);

// The host of system systemIndex (0..5): its host key, or the built-in host when the key is
// missing or empty.
std::string SystemHost(const SettingsStore& settings, int systemIndex);

}  // namespace pw
