// The reference-list reader (PW_FUZZ_REFS 0) and the saved-account columns read back from
// the settings file (1).
#include "fuzz_input.h"
#include "refs/ref_lists.h"
#include "refs/saved_accounts.h"
#include "settings/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content = pw::fuzz::Text(data, size);
#if PW_FUZZ_REFS == 0
    for (const std::string& row : pw::ParseRefList(content))
        for (int column = 0; column < 4; ++column) (void)pw::RefCellText(row, column);
    pw::TextList rows;
    (void)pw::ReadRefList(pw::fuzz::WriteScratch("Ref/LRAccountTo.ini", content), rows);
    (void)pw::FormatRefList(rows);
#else
    // The input is the settings file; its LR section holds the enciphered columns.
    const pw::SettingsStore settings(pw::fuzz::WriteScratch("Set/Purseward.ini", content), "unlock");
    for (int system = 0; system < 4; ++system) {
        if (!pw::HasSavedAccountList(system)) continue;
        const pw::SavedAccountKind& kind = pw::SavedAccountKindOf(system);
        const pw::TextList rows = pw::ReadSavedAccounts(settings, kind);
        for (const std::string& row : rows) {
            (void)pw::EntryFromSavedRow(kind, row);
            for (int column = 0; column < 4; ++column) (void)pw::SavedAccountCell(kind, row, column);
        }
        (void)pw::SavedAccountColumns(kind, rows);
    }
#endif
    return 0;
}
