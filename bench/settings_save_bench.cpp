// The cost of saving an account tab's section of the settings file: one write per key (as the
// tab saved before) against one batch committed with a single atomic save.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "store/file_io.h"

namespace {

struct Entry {
    const char* key;
    std::string value;
    bool secret;
};

// The seventeen values of a Liberty Reserve tab's section.
std::vector<Entry> TabSection() {
    return {{"LRAccount", "U1234567~U7654321", true}, {"APIName", "api1~api2", true},
            {"LRSave", "true~false", true},           {"LRPass", "pw1~", true},
            {"LRAccountLast", "U1234567", true},      {"CheckGetLast", "1", false},
            {"FilterLastOperCount", "5", false},      {"CheckFromToDate", "0", false},
            {"FilterDateFrom", "01/10/2009", false},  {"FilterDateTo", "04/10/2009", false},
            {"CheckLRAccount", "0", false},           {"FilterLRAccount", "", false},
            {"CheckBatch", "0", false},               {"FilterBatch", "", false},
            {"LRAutoRefresh", "0", false},            {"LRMemo", "rent", false},
            {"LRCurrency", "LRUSD", false}};
}

class SettingsFile {
public:
    SettingsFile() {
        dir_ = std::filesystem::temp_directory_path() /
               ("pw_settings_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "Purseward.ini").string();
        // A settings file of the usual size: six systems' sections and the general one.
        std::string text;
        for (const char* section : {"Setting", "LR", "PM", "VM", "EG", "GDP", "ECU"}) {
            text += std::string("[") + section + "]\r\n";
            for (int i = 0; i < 25; ++i) text += "Key" + std::to_string(i) + "=value\r\n";
        }
        pw::WriteFileAtomic(path_, text, true);
    }
    ~SettingsFile() { std::filesystem::remove_all(dir_); }
    const std::string& Path() const { return path_; }

private:
    std::filesystem::path dir_;
    std::string path_;
};

void BM_TabSaveOneWritePerKey(benchmark::State& state) {
    SettingsFile file;
    const pw::SettingsStore store(file.Path(), "unlock");
    const auto entries = TabSection();
    for (auto _ : state) {
        for (const Entry& e : entries) {
            if (e.secret) store.WriteSecret("LR", e.key, e.value);
            else store.WriteString("LR", e.key, e.value);
        }
    }
}
BENCHMARK(BM_TabSaveOneWritePerKey)->Unit(benchmark::kMillisecond);

void BM_TabSaveOneBatch(benchmark::State& state) {
    SettingsFile file;
    const pw::SettingsStore store(file.Path(), "unlock");
    const auto entries = TabSection();
    for (auto _ : state) {
        pw::SettingsBatch batch(store);
        for (const Entry& e : entries) {
            if (e.secret) batch.WriteSecret("LR", e.key, e.value);
            else batch.WriteString("LR", e.key, e.value);
        }
        benchmark::DoNotOptimize(batch.Commit());
    }
}
BENCHMARK(BM_TabSaveOneBatch)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
