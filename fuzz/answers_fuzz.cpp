// One libFuzzer target per answer parser; PW_FUZZ_SYSTEM picks it (0..5: LR, PM, VM, EG,
// GDP, ECU). Each runs the client's Parse once, as the tab does, for a request kind picked by
// the input, and then what the tab reads from the answer: one parse per run, so that the
// time limit of a run is the time of one parse. Where a parser reads answers of the usual
// shape in one pass, what that pass gives must be what the general reading gives.
#include "accounts/ecu/ecu_client.h"
#include "accounts/eg/eg_client.h"
#include "accounts/eg/eg_parser.h"
#include "accounts/gdp/gdp_client.h"
#include "accounts/lr/lr_client.h"
#include "accounts/pm/pm_client.h"
#include "accounts/pm/pm_parser.h"
#include "accounts/vm/vm_client.h"
#include "accounts/lr/lr_parser.h"
#include "accounts/vm/vm_parser.h"
#include "fuzz_input.h"

#include <cstdlib>

namespace {

template <class Client>
void ParseOnce(Client& client, const std::string& answer) {
    static constexpr pw::RequestKind kKinds[] = {pw::RequestKind::Balance, pw::RequestKind::History,
                                                 pw::RequestKind::Transfer, pw::RequestKind::AccountName};
    const std::size_t pick = answer.size() % 8;
    client.Parse(answer, kKinds[pick % 4], pick < 4);  // clear=false: a later page appended
    (void)client.ErrorReport();
    pw::HistoryFilter pages;
    pages.getLast = false;
    (void)client.FurtherPages(pages);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string answer = pw::fuzz::Text(data, size);
#if PW_FUZZ_SYSTEM == 0
    pw::LrClient client("h");
    if (pw::lr::LrAnswer direct, general; pw::lr::ReadUsualShape(answer, true, direct)) {
        pw::lr::ReadAnyShape(answer, true, general);
        if (!(direct == general)) std::abort();
    }
#elif PW_FUZZ_SYSTEM == 1
    pw::PmClient client("h");
    if (pw::pm::PmAnswer direct, general; pw::pm::ReadUsualInputs(answer, 0, direct)) {
        pw::pm::ReadAnyInputs(answer, 0, general);
        if (direct.inputs != general.inputs || direct.errors != general.errors) std::abort();
    }
    // The table rows built as the records are read are those built from the records.
    if (pw::pm::PmAnswer raw, rows; true) {
        pw::pm::ParseAnswer(answer, 0, raw);
        pw::pm::ParseAnswer(answer, 0, rows, pw::CsvRows::History);
        if (!(rows.historyRows == pw::pm::HistoryRows(raw.csv)) || rows.errors != raw.errors ||
            rows.inputs != raw.inputs)
            std::abort();
    }
#elif PW_FUZZ_SYSTEM == 2
    pw::VmClient client("h");
    if (pw::vm::VmAnswer direct, general; pw::vm::ReadUsualShape(answer, 0, direct)) {
        pw::vm::ReadAnyShape(answer, 0, general);
        if (!(direct == general)) std::abort();
    }
#elif PW_FUZZ_SYSTEM == 3
    pw::EgClient client("h", "p");
    client.ReadPrices(answer);
    if (pw::eg::EgAnswer direct, general; pw::eg::ReadUsualBalances(answer, {"900.00", "12.50"}, 0, direct)) {
        pw::eg::ReadAnyBalances(answer, {"900.00", "12.50"}, 0, general);
        if (direct.balances != general.balances || direct.errors != general.errors) std::abort();
    }
    (void)pw::eg::HistoryRow(answer);
    // The history rows built in the CSV pass are those built from its raw rows.
    if (pw::eg::EgAnswer raw, rows; true) {
        pw::eg::ParseAnswer(answer, {}, 0, raw);
        pw::eg::ParseAnswer(answer, {}, 0, rows, pw::CsvRows::History);
        if (!(rows.historyRows == pw::eg::HistoryRows(raw.rawHistory)) || rows.errors != raw.errors ||
            rows.balances != raw.balances)
            std::abort();
    }
#elif PW_FUZZ_SYSTEM == 4
    pw::GdpClient client("h");
    if (pw::gdp::Answer direct; pw::gdp::ReadUsualShape(answer, 0, direct)) {
        const pw::gdp::Answer general = pw::gdp::ReadAnyShape(answer, 0);
        if (direct.errors != general.errors || direct.balanceRows != general.balanceRows) std::abort();
    }
#else
    pw::EcuClient client("h");
#endif
    ParseOnce(client, answer);
    return 0;
}
