// Writes the seed corpus of every fuzz target below the folder given: the sample answers of
// the tests, generated answers of each interface (one of them near 1 MB, so that the time
// limit of one run covers big answers), and small valid files of each reader.
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "../tests/accounts/answer_generators.h"
#include "refs/saved_accounts.h"
#include "settings/settings_store.h"
#include "store/schedule_file.h"

namespace fs = std::filesystem;
using pw::testing::System;

namespace {

void Put(const fs::path& dir, const std::string& name, const std::string& content) {
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << content;
}

std::string Big(System s, std::mt19937& rng) {
    std::string a;
    while (a.size() < (900u << 10)) a += pw::testing::Generate(s, rng, 200);
    return a;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;  // fuzz_seeds <output folder> <folder of the sample answers>
    const fs::path out = argv[1];
    std::mt19937 rng(19);
    const std::pair<System, const char*> answers[] = {
        {System::Lr, "lr_answer"}, {System::Pm, "pm_answer"},   {System::Vm, "vm_answer"},
        {System::Eg, "eg_answer"}, {System::Gdp, "gdp_answer"}, {System::Ecu, "ecu_answer"}};
    for (const auto& [system, name] : answers) {
        for (int i = 0; i < 24; ++i)
            Put(out / name, "gen" + std::to_string(i), pw::testing::Generate(system, rng, 1 + i % 5));
        Put(out / name, "big", Big(system, rng));
        for (const auto& e : fs::directory_iterator(argv[2])) {
            std::ifstream in(e.path(), std::ios::binary);
            std::stringstream ss;
            ss << in.rdbuf();
            Put(out / name, e.path().filename().string(), ss.str());
        }
    }
    Put(out / "info_page", "page",
        "<html>\xC2\xE0\xF8 IP-\xE0\xE4\xF0\xE5\xF1 : 127.0.0.1<br>Last version : 2.9.4<br>"
        "http://site/a~Title~http://site/a.gif<br>https://b~B&amp;~https://b/i.png<br>tail");
    Put(out / "ini", "ini", "[Setting]\r\nProgramPath=\"/p/\"\r\n[LR]\r\nLRAccount = U1 \r\n\r\n[PM]\r\nx=y\r\n");
    Put(out / "table_file", "widths", "ColumnWidth=60;80;150\r\n");
    Put(out / "table_file", "empty", "ColumnWidth=\r\n");

    const fs::path work = fs::temp_directory_path() / "pw-fuzz-seeds";
    fs::create_directories(work / "Set");
    pw::SaveSchedule(work.string() + "/", "LR_U1234567",
                     {"U7654321~10.00~rent~yes~40000.5~no~LRUSD~no", "U1~1~m~yes~40001~yes~LREUR~no~x"});
    std::ifstream sav(work / "Set" / "LR_U1234567.sav", std::ios::binary);
    std::stringstream schedule;
    schedule << sav.rdbuf();
    Put(out / "schedule_file", "schedule", schedule.str());

    Put(out / "mass_payment_csv", "lines",
        "U123 456;-12,5;rent\r\nU7654321;1000000.01;big;77\nU1;0;zero\n;5;no payee\r\n"
        "\xEF\xBB\xBFU2;1,234.56;x\nU3;2;a~b\nU4;3");
    Put(out / "ref_list", "rows", "U1234567~Demo User~\r\nU7654321~Shop~x\r\n~~\r\n");
    const pw::SettingsStore settings((work / "Set" / "Purseward.ini").string(), "unlock");
    for (int system = 0; system < 4; ++system) {
        if (!pw::HasSavedAccountList(system)) continue;
        const pw::SavedAccountKind& kind = pw::SavedAccountKindOf(system);
        pw::TextList rows;
        for (int r = 0; r < 3; ++r) {
            pw::SavedAccountEntry entry;
            entry.texts.assign(kind.editorLabels.size(), "A" + std::to_string(r));
            entry.save = r % 2 == 0;
            rows.push_back(pw::SavedRowFromEntry(kind, entry));
        }
        pw::WriteSavedAccounts(settings, kind, rows);
    }
    std::ifstream ini(work / "Set" / "Purseward.ini", std::ios::binary);
    std::stringstream saved;
    saved << ini.rdbuf();
    Put(out / "saved_accounts", "settings", saved.str());
    fs::remove_all(work);
    return 0;
}
