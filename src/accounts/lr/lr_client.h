#pragma once
// The Liberty Reserve client: builds the request URLs from the login fields, parses the
// answers and turns receipts with their transfers into the rows of the history table.
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "accounts/account_client.h"
#include "accounts/lr/lr_parser.h"
#include "net/transport.h"
#include "ui/base/modal_ui.h"

namespace pw {

class SettingsStore;

// Prefix, columns, table files, currencies, labels and messages of the Liberty Reserve tab.
const SystemTraits& LibertyReserveTraits();

// History rows in column order (Date, From/To, Amount, Fee, Balance, Currency, Batch, Memo,
// Anonymous, Source) from receipt row i and transfer row i, for every i both lists have.
RowList BuildHistoryRows(const RowList& receipts, const RowList& transfers);
// The rows of receipts and transfers from index from on, appended to rows.
void AddHistoryRows(const RowList& receipts, const RowList& transfers, std::size_t from, RowList& rows);

// Most pages FurtherPages asks for, whatever page count an answer claims.
inline constexpr int kLrMaxPages = 10000;

class LrClient : public AccountClient {
public:
    // host: "host" or "host:port" of the interface.
    explicit LrClient(std::string host);

    const SystemTraits& Traits() const override;
    SecureString BalanceUrl(const LoginFields& login, std::time_t now) override;
    SecureString HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int page,
                            std::time_t now) override;
    // Liberty Reserve answers name themselves by their root element; the kind is not needed.
    void Parse(const std::string& answer, RequestKind kind, bool clear) override;
    const ParsedAnswer& Answer() const override { return answer_; }
    // After page 0 without "Get last": pages 2..PageCount when PageCount and PageNumber of
    // the first pager entry differ as text.
    std::vector<int> FurtherPages(const HistoryFilter& filter) const override;
    std::string ErrorReport() const override;

    // The raw lists of the last parses (response id, account names, receipts, transfers).
    const lr::LrAnswer& Lr() const { return lr_; }
    const std::string& Host() const { return host_; }

    // The transfer URL for the queued payment records; empty (send nothing) when
    // paymentCheck fails.
    SecureString TransferUrl(const LoginFields& login, const TextList& queue,
                             const std::function<bool()>& paymentCheck, std::time_t now) override;
    SecureString AccountNameUrl(const LoginFields& login, const std::string& account,
                                std::time_t now);

    // Sends the transfer request for the queue and parses the answer (clear). False when
    // the payment check failed and nothing was sent.
    // The ReceiptId of the first receipt of the last transfer answer.
    std::string TransferConfirmation() const override { return confirmation_; }

    // The name of account, or empty. Empty input: empty, without a request. Errors of the
    // answer are shown through ui as the error report.
    std::string GetAccountName(Transport& transport, const LoginFields& login,
                               const std::string& account, std::time_t now, ModalUi& ui) override;

  private:
    void SyncAnswer(bool clear);

    std::string host_;
    std::string confirmation_;
    lr::LrAnswer lr_;
    ParsedAnswer answer_;
};

std::unique_ptr<LrClient> MakeLibertyReserveClient(const SettingsStore& settings);

}  // namespace pw
