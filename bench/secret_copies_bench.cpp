// Copies of each system's secret left in the memory of the process after a login, a history
// request and (on the four systems that have one) a payment against the local simulator, each
// login's fields dropped (and wiped) as a logout does: the "copies" counter is what the request
// path left behind; "rows" shows that the server took the credentials.
#include <benchmark/benchmark.h>

#include "support/secret_rounds.h"

namespace {

void BM_LoginHistoryPayment(benchmark::State& state) {
    const pw::test::SecretSystem system =
        pw::test::SecretSystems().at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(system.name);
    pw::test::Sandbox box;
    std::size_t rows = 0;
    for (auto _ : state) rows += pw::test::RunSecretRounds(system, box, 1).rows;
    state.counters["copies"] = static_cast<double>(pw::test::CopiesOfSecret(system.maskedSecret));
    state.counters["rows"] = static_cast<double>(rows);
}
// LR secret word, PM passphrase, V-Money password, e-gold passphrase, GDP key, ECU password.
BENCHMARK(BM_LoginHistoryPayment)->DenseRange(0, 5)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
