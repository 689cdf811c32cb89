// Start-up reads of the settings file when one of its lines is 10 MB long (a damaged or
// hostile file): the reads of the start and of six tabs loading their sections, about a
// hundred values in all.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "settings/keys.h"
#include "settings/settings_store.h"
#include "store/file_io.h"

namespace {

class LargeSettingsFile {
  public:
    explicit LargeSettingsFile(std::size_t lineBytes) {
        dir_ = std::filesystem::temp_directory_path() /
               ("pw_settings_start_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "Purseward.ini").string();
        std::string text =
            "[Setting]\r\nEnable_LR=1\r\nNote=" + std::string(lineBytes, 'x') + "\r\n";
        for (const char* section : pw::keys::kPrefixes) {
            text += std::string("[") + section + "]\r\n";
            for (int i = 0; i < 15; ++i) text += "Key" + std::to_string(i) + "=1\r\n";
        }
        pw::WriteFileAtomic(path_, text, true);
    }
    ~LargeSettingsFile() { std::filesystem::remove_all(dir_); }
    const std::string& Path() const { return path_; }

  private:
    std::filesystem::path dir_;
    std::string path_;
};

// One start: the general values, then each tab's section.
void StartUpReads(const pw::SettingsStore& store) {
    using namespace pw::keys;
    for (const char* key : {kSelectLanguage, kEnableLR, kEnablePM, kEnableVM, kEnableEG, kEnableGDP,
                            kEnableECU, kPass1, kPass2, kCheck, kProgramPath, kExecutableModule,
                            kCheckNewVersion, kProxyServer, kInfoSite})
        benchmark::DoNotOptimize(store.GetString(kSetting, key));
    for (const char* section : kPrefixes)
        for (int i = 0; i < 15; ++i)
            benchmark::DoNotOptimize(store.GetInt(section, "Key" + std::to_string(i), 0));
}

void BM_StartUpReads(benchmark::State& state) {
    const LargeSettingsFile file(static_cast<std::size_t>(state.range(0)));
    const pw::SettingsStore store(file.Path(), std::string());
    for (auto _ : state) StartUpReads(store);
}
BENCHMARK(BM_StartUpReads)->Arg(100)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

// A fresh start each time: the file's time is changed first, so the store reads it again.
void BM_StartUpReadsFreshFile(benchmark::State& state) {
    const LargeSettingsFile file(static_cast<std::size_t>(state.range(0)));
    const pw::SettingsStore store(file.Path(), std::string());
    long second = 1000;
    for (auto _ : state) {
        const struct timespec times[2] = {{second, 0}, {second, 0}};
        ++second;
        ::utimensat(AT_FDCWD, file.Path().c_str(), times, 0);
        StartUpReads(store);
    }
}
BENCHMARK(BM_StartUpReadsFreshFile)->Arg(100)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
