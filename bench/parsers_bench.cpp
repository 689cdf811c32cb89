// The answer parsers of the six interfaces and the CSV readers of Perfect Money and e-gold on
// generated answers of 1 MB and 10 MB (bytes per second; 10 MB must cost no more than about
// ten times 1 MB). --write-answers=DIR writes the answers for bench/python_parsers.py.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <map>

#include "accounts/ecu/ecu_client.h"
#include "accounts/eg/eg_parser.h"
#include "accounts/gdp/gdp_client.h"
#include "accounts/pm/pm_client.h"
#include "accounts/lr/lr_client.h"
#include "accounts/lr/lr_parser.h"
#include "accounts/pm/pm_parser.h"
#include "accounts/vm/vm_client.h"
#include "accounts/vm/vm_parser.h"
#include "answer_texts.h"

namespace {

using Maker = std::string (*)(std::size_t);

const std::string& Answer(Maker make, std::size_t bytes) {
    static std::map<std::pair<Maker, std::size_t>, std::string> made;
    auto& a = made[{make, bytes}];
    if (a.empty()) a = make(bytes);
    return a;
}

template <class Parse>
void Run(benchmark::State& state, Maker make, Parse parse) {
    const std::string& answer = Answer(make, static_cast<std::size_t>(state.range(0)));
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = parse(answer);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer.size()));
    state.counters["rows"] = static_cast<double>(rows);
}

void LrHistory(benchmark::State& s) {
    Run(s, pw::bench::LrHistory, [](const std::string& a) {
        pw::lr::LrAnswer out;
        pw::lr::ParseAnswer(a, true, out);
        return out.receipts.size();
    });
}
void VmHistory(benchmark::State& s) {
    Run(s, pw::bench::VmHistory, [](const std::string& a) {
        pw::vm::VmAnswer out;
        pw::vm::ParseAnswer(a, 0, out);
        return out.transactions.size();
    });
}
// What the clients make of a history answer: the parse, then the table rows.
void LrHistoryRows(benchmark::State& s) {
    Run(s, pw::bench::LrHistory, [](const std::string& a) {
        pw::lr::LrAnswer out;
        pw::lr::ParseAnswer(a, true, out);
        return pw::BuildHistoryRows(out.receipts, out.transfers).size();
    });
}
void VmHistoryRows(benchmark::State& s) {
    Run(s, pw::bench::VmHistory, [](const std::string& a) {
        pw::vm::VmAnswer out;
        pw::vm::ParseAnswer(a, 0, out);
        return pw::vm::HistoryRows(out.transactions).size();
    });
}
void PmHistoryCsv(benchmark::State& s) {
    Run(s, pw::bench::PmHistory, [](const std::string& a) { return pw::pm::ReadCsvRecords(a).size(); });
}
void PmAnswerCsv(benchmark::State& s) {
    Run(s, pw::bench::PmHistory, [](const std::string& a) {
        pw::pm::PmAnswer out;
        pw::pm::ParseAnswer(a, 0, out);
        return out.csv.size();
    });
}
// What the client makes of a history answer: the table rows, built as the records are read.
void PmHistoryRows(benchmark::State& s) {
    Run(s, pw::bench::PmHistory, [](const std::string& a) {
        pw::pm::PmAnswer out;
        pw::pm::ParseAnswer(a, 0, out, pw::CsvRows::History);
        return out.historyRows.size();
    });
}
void PmBalancePage(benchmark::State& s) {
    Run(s, pw::bench::PmBalancePage, [](const std::string& a) {
        pw::pm::PmAnswer out;
        pw::pm::ParseAnswer(a, 0, out);
        return out.inputs.size();
    });
}
void EgHistoryCsv(benchmark::State& s) {
    Run(s, pw::bench::EgHistory, [](const std::string& a) {
        pw::eg::EgAnswer out;
        pw::eg::ParseAnswer(a, {}, 0, out);
        return out.rawHistory.size();
    });
}
void EgHistoryRows(benchmark::State& s) {
    Run(s, pw::bench::EgHistory, [](const std::string& a) {
        pw::eg::EgAnswer out;
        pw::eg::ParseAnswer(a, {}, 0, out, pw::CsvRows::History);
        return out.historyRows.size();
    });
}
void EgBalancePage(benchmark::State& s) {
    Run(s, pw::bench::EgBalancePage, [](const std::string& a) {
        pw::eg::EgAnswer out;
        pw::eg::ParseAnswer(a, {"900.00"}, 0, out);
        return out.balances.size();
    });
}
void GdpBalances(benchmark::State& s) {
    Run(s, pw::bench::GdpBalances, [](const std::string& a) { return pw::gdp::ParseAnswer(a, 0).balanceRows.size(); });
}
void EcuBalance(benchmark::State& s) {
    Run(s, pw::bench::EcuBalance, [](const std::string& a) {
        return pw::ecu::ParseAnswer(a, pw::ecu::AnswerKind::Balance, 0).balanceRows.size();
    });
}

constexpr int64_t kMB = 1 << 20;
#define PW_SIZES ->Arg(kMB)->Arg(10 * kMB)->Unit(benchmark::kMillisecond)
BENCHMARK(LrHistory) PW_SIZES;
BENCHMARK(LrHistoryRows) PW_SIZES;
BENCHMARK(VmHistory) PW_SIZES;
BENCHMARK(VmHistoryRows) PW_SIZES;
BENCHMARK(PmHistoryCsv) PW_SIZES;
BENCHMARK(PmAnswerCsv) PW_SIZES;
BENCHMARK(PmHistoryRows) PW_SIZES;
BENCHMARK(PmBalancePage) PW_SIZES;
BENCHMARK(EgHistoryCsv) PW_SIZES;
BENCHMARK(EgHistoryRows) PW_SIZES;
BENCHMARK(EgBalancePage) PW_SIZES;
BENCHMARK(GdpBalances) PW_SIZES;
BENCHMARK(EcuBalance) PW_SIZES;

void WriteAnswers(const std::string& dir) {
    const std::pair<const char*, Maker> files[] = {{"lr_history", pw::bench::LrHistory},
                                                   {"vm_history", pw::bench::VmHistory},
                                                   {"pm_history", pw::bench::PmHistory},
                                                   {"eg_history", pw::bench::EgHistory},
                                                   {"gdp_balances", pw::bench::GdpBalances}};
    for (const auto& [name, make] : files)
        for (const int mb : {1, 10})
            std::ofstream(dir + "/" + name + "_" + std::to_string(mb) + "mb", std::ios::binary)
                << make(static_cast<std::size_t>(mb) * kMB);
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--write-answers=", 16) == 0) {
            WriteAnswers(argv[i] + 16);
            return 0;
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
