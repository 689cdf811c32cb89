#pragma once
// The e-gold client: its traits (columns with their cell formats and colours, table files,
// keys, labels, messages), the record text, the balance-change notice, and a client that
// builds the requests, keeps the metal prices and parses the answers. No widgets.
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accounts/account_client.h"
#include "accounts/eg/eg_parser.h"
#include "accounts/eg/eg_requests.h"
#include "accounts/tab_logic.h"
#include "net/transport.h"

namespace pw {

class SettingsStore;

namespace eg {

// How one column shows its field: format "" is " " followed by the field, otherwise the
// printf format of the field read as a number ("%.6f", "%.4f", "%.2f"). coloured: green when
// the value is above 0, red otherwise, on white.
struct ColumnFormat {
    const char* format;
    bool coloured = false;
    bool bold = false;
};

// Everything the e-gold tab shows and keys that today's SystemTraits has no place for.
struct EgTraits {
    std::vector<ColumnFormat> balanceFormats;  // one per balance column
    std::vector<ColumnFormat> historyFormats;  // one per history column
    // The change notice compares this field of rows whose key field is equal and reports
    // the old and new value of the report field.
    int noticeKeyField = 0, noticeCompareField = 1, noticeReportField = 4;
    int historyWeightColumn = 3, historyAmountColumn = 4, historyCounterpartColumn = 5;
    int historyMetalColumn = 2, historyBatchColumn = 8;
    int recordMetalField = kMetal;  // payment record field of the metal
    int balanceUsdColumn = 4;       // the payer row's available amount
    const char* exportFileFormat = "%sEGHistory_%4d%02d%02d.csv";
    const char* receiptFileFormat = "EG_%s.jpg";
    const char* noCounterpartMessage =
        "You are checked option for select on EG-number, but don't entered it";
};

const EgTraits& Traits();

// The text of one cell under format (a field the row lacks gives an empty cell).
std::string FormatCell(const TextList& fields, std::size_t column, const ColumnFormat& format);

// The record view and clipboard text of a history row; hide: "HideLastDigit" is set.
std::string RecordText(const std::string& historyRow, bool hide, int hideCount);

// The balance-change notice: for every index both lists have, rows with the same metal whose
// ounces differ (compared as exact decimal numbers) give "metal : oldUSD/newUSD\r\n",
// headed once by "Balance is changed [EG<account>]\r\n".
ChangeNotice BuildNotice(const TextList& oldRows, const TextList& newRows,
                         const std::string& account);
// True when two decimal texts hold the same number ("1.50" and "1.5"); other texts are
// compared as they are.
bool SameDecimal(const std::string& a, const std::string& b);

// The host of the interface ("EGHost", or the built-in one) and of the price page
// ("EGPriceHost", or the interface's host on port 80).
std::string Host(const SettingsStore& settings);
std::string PriceHostSetting(const SettingsStore& settings);

}  // namespace eg

// Prefix, columns, table files, metals, labels and messages of the e-gold tab.
const SystemTraits& EGoldTraits();

class EgClient : public AccountClient {
public:
    EgClient(std::string host, std::string priceHost);

    const SystemTraits& Traits() const override;
    std::string BalanceUrl(const LoginFields& login, std::time_t now) override;
    std::string HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int page,
                           std::time_t now) override;
    // Every parse starts afresh; the answer's history rows are built from its CSV rows.
    void Parse(const std::string& answer, RequestKind kind, bool clear) override;
    const ParsedAnswer& Answer() const override { return answer_; }
    std::vector<int> FurtherPages(const HistoryFilter&) const override { return {}; }
    std::string ErrorReport() const override;

    // The metal price list: fetched by LoadPrices, emptied by ClearPrices (ChangeAccount).
    const TextList& Prices() const { return prices_; }
    void LoadPrices(Transport& transport);
    void ClearPrices() { prices_.clear(); }
    std::string PriceUrl() const;

    std::string TransferUrl(const LoginFields& login, const TextList& queue,
                            const std::function<bool()>& paymentCheck) const;
    // Sends the first queued record and parses the answer; false when nothing was sent.
    bool SendTransfer(Transport& transport, const LoginFields& login, const TextList& queue,
                      const std::function<bool()>& paymentCheck);

    const eg::EgAnswer& Eg() const { return eg_; }
    // The clock for the balance rows' UpdateDate (tests fix it).
    void SetClock(std::function<std::time_t()> clock) { clock_ = std::move(clock); }

private:
    std::string host_, priceHost_;
    TextList prices_;
    eg::EgAnswer eg_;
    ParsedAnswer answer_;
    std::function<std::time_t()> clock_;
};

std::unique_ptr<EgClient> MakeEGoldClient(const SettingsStore& settings);

}  // namespace pw
