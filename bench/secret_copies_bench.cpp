// Copies of an e-gold passphrase left in the memory of the process after a login and a
// history request against the local simulator, with the login fields wiped afterwards as a
// logout does: the "copies" counter is what the request path left behind.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "accounts/eg/eg_client.h"
#include "net/curl_transport.h"
#include "settings/settings_store.h"
#include "support/memory_scan.h"
#include "support/sandbox.h"

namespace {

void BM_EGoldLoginAndHistory(benchmark::State& state) {
    pw::test::Sandbox box;
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("pw_secret_copies_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    pw::SettingsStore settings((dir / "Purseward.ini").string(), "");
    settings.WriteString("Setting", "CACertFile", box.CaPath());
    settings.WriteString("EG", "EGHost", box.EgHost());
    settings.WriteString("EG", "EGPriceHost", box.HttpHost());
    pw::TrafficCounter counter;
    pw::CurlTransport transport(settings, counter, pw::TransportHooks());
    const std::unique_ptr<pw::EgClient> client = pw::MakeEGoldClient(settings);
    client->ReadPrices(transport.HttpGet(client->PriceUrl()));
    const std::string masked = pw::test::Masked("demopass1");
    std::size_t rows = 0;
    for (auto _ : state) {
        pw::LoginFields login{"1234567", "", pw::test::Masked(masked)};
        client->Parse(transport.HttpsGet(client->BalanceUrl(login, 0)), pw::RequestKind::Balance,
                      true);
        rows += client->Answer().balanceRows.size();
        pw::HistoryFilter filter;
        client->Parse(transport.HttpsGet(client->HistoryUrl(login, filter, 0, 0)),
                      pw::RequestKind::History, true);
        rows += client->Answer().historyRows.size();
        pw::WipeString(login.secret);
    }
    state.counters["copies"] = static_cast<double>(pw::test::CopiesInMemory(masked));
    state.counters["rows"] = static_cast<double>(rows);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_EGoldLoginAndHistory)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
