// The Liberty Reserve answer parser on large history answers (about 1 MB and 10 MB): the time
// per byte must stay flat as the answer grows.
#include <benchmark/benchmark.h>

#include <string>

#include "accounts/lr/lr_parser.h"

namespace {

std::string HistoryAnswer(std::size_t bytes) {
    std::string s = "<HistoryResponse id=\"1\" date=\"2009-05-03 10:00:00\"><Pager><PageSize>50"
                    "</PageSize><PageCount>1</PageCount><PageNumber>1</PageNumber><TotalCount>1"
                    "</TotalCount></Pager>";
    for (int i = 0; s.size() < bytes; ++i) {
        const std::string id = std::to_string(10000000 + i);
        s += "<Receipt><ReceiptId>" + id + "</ReceiptId><Date>2009-03-05 10:00:00</Date>"
             "<PayerName>Demo User</PayerName><PayeeName>Payee Shop</PayeeName><Amount>-10.0000"
             "</Amount><Fee>0.0000</Fee><ClosingBalance>490.0000</ClosingBalance><Transfer>"
             "<TransferId>" + id + "</TransferId><TransferType>transfer</TransferType><Payer>"
             "U1234567</Payer><Payee>U7654321</Payee><CurrencyId>LRUSD</CurrencyId><Amount>"
             "10.0000</Amount><Memo>Invoice " + id + "</Memo><Anonymous>false</Anonymous>"
             "<Source>API</Source></Transfer></Receipt>";
    }
    return s + "</HistoryResponse>";
}

void BM_ParseHistory(benchmark::State& state) {
    const std::string answer = HistoryAnswer(static_cast<std::size_t>(state.range(0)));
    std::size_t rows = 0;
    for (auto _ : state) {
        pw::lr::LrAnswer a;
        pw::lr::ParseAnswer(answer, true, a);
        rows = a.receipts.size();
        benchmark::DoNotOptimize(a);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer.size()));
    state.counters["receipts"] = static_cast<double>(rows);
}
BENCHMARK(BM_ParseHistory)->Arg(100 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
