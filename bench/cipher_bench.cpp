// Cost of the credential cipher and of a settings read, the two operations every secret
// setting goes through.
#include <benchmark/benchmark.h>

#include "crypto/cipher.h"

static void BM_EncipherShortSecret(benchmark::State& state) {
    std::string out;
    for (auto _ : state) {
        pw::Encipher("U1234567~U7654321~U1111111", "run password", out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_EncipherShortSecret);

static void BM_DecipherMasterKey(benchmark::State& state) {
    std::string key;
    pw::Encipher(std::string(149, 'k'), "run", key);
    std::string out;
    for (auto _ : state) {
        pw::Decipher(key, "run", out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_DecipherMasterKey);

static void BM_PasswordHash(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(pw::PasswordHash("secret:20261208:01"));
}
BENCHMARK(BM_PasswordHash);

BENCHMARK_MAIN();
