#pragma once
// The V-Money client: request URLs from the login fields (Account ID, PIN, password), the
// answer parser's lists turned into the rows of the tables, the transfer of the first queued
// record and the account lookup.
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "accounts/account_client.h"
#include "accounts/vm/vm_parser.h"
#include "net/transport.h"
#include "ui/base/modal_ui.h"

namespace pw {

class SettingsStore;

// Prefix, columns with their formats and colours, table files, labels (incl. "Pin number"),
// messages and the record text of the V-Money tab.
const SystemTraits& VMoneyTraits();

namespace vm {

// Date, TransType, From/To, Amount, Batch, Memo from each raw transaction row (a field the row
// lacks shows as " "). The amount gets a "-" in front when the TransType in lower case holds
// "fee", "sent" or "withdraw" (an amount that already starts with "-" keeps its one sign).
RowList HistoryRows(const RowList& transactions);

}  // namespace vm

class VmClient : public AccountClient {
  public:
    // host: "host" or "host:port" of the interface.
    explicit VmClient(std::string host);

    const SystemTraits& Traits() const override;
    SecureString BalanceUrl(const LoginFields& login, std::time_t now) override;
    // The history is not paged: page is ignored.
    SecureString HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int page,
                            std::time_t now) override;
    // Every answer replaces the lists (clear is not needed: nothing is paged).
    void Parse(const std::string& answer, RequestKind kind, bool clear) override;
    void Parse(const std::string& answer, std::time_t now);
    const ParsedAnswer& Answer() const override { return answer_; }
    std::vector<int> FurtherPages(const HistoryFilter&) const override { return {}; }
    std::string ErrorReport() const override;

    const vm::VmAnswer& Vm() const { return vm_; }
    const std::string& Host() const { return host_; }

    // The transfer URL for the first queued record; empty (send nothing) when the queue is
    // empty or paymentCheck fails.
    SecureString TransferUrl(const LoginFields& login, const TextList& queue,
                             const std::function<bool()>& paymentCheck, std::time_t now) override;
    SecureString AccountStatusUrl(const LoginFields& login, const std::string& lookup,
                                  std::time_t now);
    // Sends the transfer of the first queued record and parses the answer. False when nothing
    // was sent.
    // The TransId of the last transfer answer.
    std::string TransferConfirmation() const override { return confirmation_; }
    // The first account name of the lookup answer, or empty. Empty input: empty, without a
    // request. Errors of the answer are shown through ui as the error report.
    std::string GetAccountName(Transport& transport, const LoginFields& login,
                               const std::string& account, std::time_t now, ModalUi& ui) override;

  private:
    std::string host_;
    vm::VmAnswer vm_;
    ParsedAnswer answer_;
    std::string confirmation_;
};

std::unique_ptr<VmClient> MakeVMoneyClient(const SettingsStore& settings);

}  // namespace pw
