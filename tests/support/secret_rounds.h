#pragma once
// Rounds of requests of every payment system against the sandbox, with the demo credentials
// kept masked until they go into the login fields: what the memory scan finds afterwards is
// what the request path (builders, clients, transport) left behind. Shared by the memory-scan
// test and the benchmark of left-over copies; the caller links the six clients and pw_net.
#include <unistd.h>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "accounts/ecu/ecu_client.h"
#include "accounts/eg/eg_client.h"
#include "accounts/gdp/gdp_client.h"
#include "accounts/lr/lr_client.h"
#include "accounts/pm/pm_client.h"
#include "accounts/query_value.h"
#include "accounts/transfer_request.h"
#include "accounts/vm/vm_client.h"
#include "crypto/secure_string.h"
#include "net/curl_transport.h"
#include "settings/keys.h"
#include "settings/settings_store.h"
#include "support/memory_scan.h"
#include "support/sandbox.h"

namespace pw::test {

// The demo credentials of the sandbox, masked at compile time.
inline constexpr auto kLrApi = MaskedAtCompileTime("demoapi");
inline constexpr auto kLrSecret = MaskedAtCompileTime("demosecret");
inline constexpr auto kPmSecret = MaskedAtCompileTime("demo-pass");
inline constexpr auto kVmPin = MaskedAtCompileTime("1234");
inline constexpr auto kVmSecret = MaskedAtCompileTime("demopass");
inline constexpr auto kEgSecret = MaskedAtCompileTime("demopass1");
inline constexpr auto kGdpStore = MaskedAtCompileTime("ST-77");
inline constexpr auto kGdpSecret = MaskedAtCompileTime("gdp+key&1");
inline constexpr auto kEcuSecret = MaskedAtCompileTime("ecu pass#1");

struct SecretSystem {
    const char* name;  // "LR secret word"
    int index;         // 0..5
    std::function<std::unique_ptr<AccountClient>(const SettingsStore&)> make;
    std::string account;
    std::string maskedApiName;  // empty: none
    std::string maskedSecret;
    // The API name is a needle of its own; a PIN of four digits also stands inside account
    // numbers and amounts of the answers.
    bool apiNameCounted = true;
    // A payment record each round sends (empty: the system has no transfer).
    std::string transferRecord;
};

inline std::vector<SecretSystem> SecretSystems() {
    return {
        {"LR secret word", 0, MakeLibertyReserveClient, "U1234567", MaskedText(kLrApi),
         MaskedText(kLrSecret), true, "U7654321~0.01~m~no~~no~LRUSD~no"},
        {"PM passphrase", 1, MakePerfectMoneyClient, "1234567", "", MaskedText(kPmSecret), true,
         "U7654321~0.01~m~~no~~no~U1234567~no"},
        {"V-Money password", 2, MakeVMoneyClient, "VM100001", MaskedText(kVmPin),
         MaskedText(kVmSecret), false, "VM100002~0.01~m"},
        {"e-gold passphrase", 3, MakeEGoldClient, "1234567", "", MaskedText(kEgSecret), true,
         "7654321~1.00~m~P-1~no~~no~Gold~no"},
        {"GDP key", 4, MakeGdpClient, "GDP1001", MaskedText(kGdpStore), MaskedText(kGdpSecret),
         true, ""},
        {"ECU password", 5, MakeEcuClient, "E1000100", "", MaskedText(kEcuSecret), true, ""},
    };
}

// The plain text of a masked secret, made in a SecureString (no plain copy on the way).
inline SecureString Unmasked(const std::string& masked) {
    SecureString plain(masked);
    for (char& c : plain) c = static_cast<char>(c ^ kMask);
    return plain;
}

// Copies of the secret in every form a request carries it in (as typed, query-encoded,
// percent-encoded, XML-escaped), each form masked before it is looked for.
inline std::size_t CopiesOfSecret(const std::string& masked) {
    std::vector<std::string> maskedForms;
    {
        const std::vector<SecureString> forms = SecretForms(Unmasked(masked));
        maskedForms.reserve(forms.size());
        for (const SecureString& form : forms) {
            std::string m;
            m.reserve(form.size());
            for (const char c : form) m += static_cast<char>(c ^ kMask);
            maskedForms.push_back(std::move(m));
        }
    }  // the plain forms are wiped before the scan
    std::size_t found = 0;
    for (const std::string& m : maskedForms) found += CopiesInMemory(m);
    return found;
}

// What the rounds saw: rows of the answers (proof that the server accepted the credentials)
// and messages the transport would have shown.
struct RoundsSeen {
    std::size_t rows = 0;
    int confirmed = 0;  // transfers the server confirmed
    std::vector<std::string> errors;
    // Copies of the secret right after the last round, while the client, the transport and
    // the settings still live (their freed blocks not yet reused by their teardown).
    std::size_t copiesAfterRounds = 0;
};

// rounds x (balance + history + transfer) of system against sandbox, each round with fresh login
// fields that are dropped (and wiped) at its end, as a logout does.
inline RoundsSeen RunSecretRounds(const SecretSystem& system, const Sandbox& sandbox, int rounds) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("pw_secret_rounds_" + std::to_string(::getpid()) + "_" + std::to_string(system.index));
    std::filesystem::create_directories(dir);
    RoundsSeen seen;
    {
        SettingsStore settings((dir / "Purseward.ini").string(), "");
        settings.WriteString("Setting", "CACertFile", sandbox.CaPath());
        const keys::SystemKeys& k = keys::KeysOf(system.index);
        settings.WriteString(k.section, k.host,
                             system.index == 3 ? sandbox.EgHost() : sandbox.HttpsHost());
        TrafficCounter counter;
        TransportHooks hooks;
        hooks.showMessage = [&seen](const std::string& m) { seen.errors.push_back(m); };
        CurlTransport transport(settings, counter, hooks);
        const std::unique_ptr<AccountClient> client = system.make(settings);
        const std::time_t now = std::time(nullptr);
        for (int i = 0; i < rounds; ++i) {
            LoginFields login;
            login.account = system.account;
            if (!system.maskedApiName.empty()) login.apiName = Unmasked(system.maskedApiName);
            login.secret = Unmasked(system.maskedSecret);
            client->Parse(transport.HttpsGet(client->BalanceUrl(login, now)), RequestKind::Balance,
                          true);
            seen.rows += client->Answer().balanceRows.size();
            if (!client->Answer().errors.empty()) seen.errors.push_back(client->ErrorReport());
            client->Parse(transport.HttpsGet(client->HistoryUrl(login, HistoryFilter{}, 0, now)),
                          RequestKind::History, true);
            if (system.transferRecord.empty()) continue;
            const TransferResult sent =
                SendTransfer(*client, transport, login, {system.transferRecord}, nullptr, now);
            if (sent.state == TransferState::Confirmed)
                ++seen.confirmed;
            else
                seen.errors.push_back("transfer: " + sent.errorReport + sent.exchange.text);
        }
        seen.copiesAfterRounds = CopiesOfSecret(system.maskedSecret);
    }
    std::filesystem::remove_all(dir);
    return seen;
}

}  // namespace pw::test
