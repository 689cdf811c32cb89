#include "accounts/vm/vm_client.h"

#include <algorithm>
#include <cctype>

#include "accounts/answer_text.h"
#include "accounts/transfer_request.h"
#include "accounts/vm/vm_requests.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace pw {
namespace {

bool IsOutgoing(std::string type) {
    std::transform(type.begin(), type.end(), type.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return type.find("fee") != std::string::npos || type.find("sent") != std::string::npos ||
           type.find("withdraw") != std::string::npos;
}

}  // namespace

namespace vm {

RowList HistoryRows(const RowList& transactions) {
    RowList rows;
    rows.reserve(transactions.size(), transactions.Bytes() + transactions.size());  // a "-" may be added
    std::string amount, type;  // type: the TransType last looked at, outgoing its verdict
    bool outgoing = false;
    for (const std::string_view transaction : transactions) {
        const auto t = RowFields<7>(transaction, " ");  // a missing field shows as a blank
        if (t[6] != type || type.empty()) outgoing = IsOutgoing(type.assign(t[6]));
        amount.clear();
        if (outgoing && (t[5].empty() || t[5][0] != '-')) amount.push_back('-');
        amount.append(t[5]);
        rows.AddJoined({t[4], t[6], t[3], amount, t[0], t[1]});
    }
    return rows;
}

}  // namespace vm

VmClient::VmClient(std::string host) : host_(std::move(host)) {}

const SystemTraits& VmClient::Traits() const { return VMoneyTraits(); }

SecureString VmClient::BalanceUrl(const LoginFields& login, std::time_t now) {
    return vm::MakeUrl(host_, vm::BuildBalanceRequest(login, now));
}

SecureString VmClient::HistoryUrl(const LoginFields& login, const HistoryFilter& filter, int,
                                  std::time_t now) {
    return vm::MakeUrl(host_, vm::BuildHistoryRequest(login, filter, now));
}

SecureString VmClient::TransferUrl(const LoginFields& login, const TextList& queue,
                                   const std::function<bool()>& paymentCheck, std::time_t now) {
    const SecureString doc = vm::BuildTransferRequest(login, queue, paymentCheck, now);
    return doc.empty() ? SecureString() : vm::MakeUrl(host_, doc);
}

SecureString VmClient::AccountStatusUrl(const LoginFields& login, const std::string& lookup,
                                        std::time_t now) {
    return vm::MakeUrl(host_, vm::BuildAccountStatusRequest(login, lookup, now));
}

void VmClient::Parse(const std::string& answer, RequestKind kind, bool) {
    Parse(answer, std::time(nullptr));
    // A transfer's answer names its transaction inside <Transfer>, unless it was refused.
    if (kind == RequestKind::Transfer && vm_.errors.empty())
        confirmation_ = ElementText(answer, "TransId", "<Transfer>");
}

void VmClient::Parse(const std::string& answer, std::time_t now) {
    confirmation_.clear();
    vm::ParseAnswer(answer, now, vm_);
    answer_ = ParsedAnswer{};
    answer_.errors = vm_.errors;
    answer_.balanceRows = RowList(vm_.balances);
    answer_.historyRows = vm::HistoryRows(vm_.transactions);
}

std::string VmClient::ErrorReport() const { return CodeMessageReport(vm_.errors); }

std::string VmClient::GetAccountName(Transport& transport, const LoginFields& login,
                                     const std::string& account, std::time_t now, ModalUi& ui) {
    if (account.empty()) return std::string();
    Parse(transport.HttpsGet(AccountStatusUrl(login, account, now)), now);
    if (!vm_.errors.empty()) ui.Message(ErrorReport());
    return vm_.accountNames.empty() ? std::string() : vm_.accountNames.front();
}

std::unique_ptr<VmClient> MakeVMoneyClient(const SettingsStore& settings) {
    return std::make_unique<VmClient>(SystemHost(settings, 2));
}

}  // namespace pw
