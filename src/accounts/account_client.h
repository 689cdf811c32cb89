#pragma once
// The per-system hooks of the account tab. The tab frame is written once; each payment
// system supplies its traits (section keys, columns, messages, currencies) and a client that
// builds requests and parses answers. No widgets here.
#include <ctime>
#include <string>
#include <vector>

#include "store/text_list.h"

namespace pw {

enum class Align { Left, Center, Right };

struct ColumnSpec {
    std::string name;
    Align align;
    int defaultWidth;
};

struct Date {
    int year = 2000, month = 1, day = 1;
    friend bool operator==(const Date&, const Date&) = default;
};

// What the login fields hold.
struct LoginFields {
    std::string account;
    std::string apiName;  // API name / store identifier; PIN on V-Money
    std::string secret;   // secret word / password
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
    // Validation messages (string ids).
    int msgNoAccount = 110, msgNoApiName = 111, msgNoSecret = 112;
    int msgNoCounterpart = 116, msgNoBatch = 117;
    bool hasApiName = true;
    // Schedule file records.
    int scheduleFieldCount = 8;
    int scheduleDueField = 0;
    // Index of the "Amount" column and of the "From/To" column of a history row.
    int historyAmountColumn = 2;
    int historyCounterpartColumn = 1;
    // Columns of a history row shown with "%.2f".
    std::vector<int> moneyColumns;
    // Index of the "Value" column of a balance row, and how many fields are shown.
    int balanceValueColumn = 1;
};

// What one parse of one or more answers yielded.
struct ParsedAnswer {
    TextList errors;       // LR/VM: "code~text~..." rows; the others: error texts
    TextList balanceRows;  // "~"-joined balance rows
    TextList historyRows;  // "~"-joined history rows in column order
    TextList pager;        // LR: "PageSize~PageCount~PageNumber~TotalCount"
};

class AccountClient {
public:
    virtual ~AccountClient() = default;
    virtual const SystemTraits& Traits() const = 0;

    // Full URLs ("https://host/path?...") of the requests. now: the clock reading.
    virtual std::string BalanceUrl(const LoginFields& login, std::time_t now) = 0;
    virtual std::string HistoryUrl(const LoginFields& login, const HistoryFilter& filter,
                                   int page, std::time_t now) = 0;
    // Parses one answer; clear=false appends (later history pages).
    virtual void Parse(const std::string& answer, bool clear) = 0;
    virtual const ParsedAnswer& Answer() const = 0;

    // Page numbers to fetch after the first page (empty: none).
    virtual std::vector<int> FurtherPages(const HistoryFilter& filter) const = 0;

    // The error report of the last parse: one line per error.
    virtual std::string ErrorReport() const = 0;
};

// "Code : %s, Message : %s \n" per entry (LR, VM).
std::string CodeMessageReport(const TextList& errors);
// "Error : %s \n" per entry (PM, EG, GDP, ECU).
std::string ErrorLineReport(const TextList& errors);

}  // namespace pw
