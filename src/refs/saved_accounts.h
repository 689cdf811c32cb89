#pragma once
// Saved account lists: the login credentials of several accounts of one payment system, kept
// in the system's settings section column by column (one "~"-joined text per key, each a
// secret setting), and held by the tab as one "~"-joined row per account. No widgets here.
#include <string>
#include <vector>

#include "accounts/account_client.h"
#include "store/text_list.h"

namespace pw {

class SettingsStore;

// What differs between the lists of Liberty Reserve, Perfect Money, V-Money and e-gold.
struct SavedAccountKind {
    int systemIndex = 0;
    std::string section;                 // "LR"
    std::vector<std::string> keys;       // settings keys in field order
    int listResource = 0;                // 147
    std::string listCaption;             // "LR Accounts"
    std::vector<ColumnSpec> columns;     // titles, alignment and default widths, field order
    std::string tableFile;               // "RefAccount.set", below Set/
    int secretColumn = 0;                // the column shown as "*****"
    int saveField = 0;                   // the field holding "true" or "false"
    // Editor: resource, the labels of its edits, the row field each edit holds, which edits
    // are masked, and the caption of the save box.
    int editorResource = 0;
    std::vector<std::string> editorLabels;
    std::vector<int> editorFields;
    std::vector<bool> editorMasked;
    std::string saveCaption;
    // Fields kept only while the save box is checked (empty otherwise).
    std::vector<int> savedOnlyFields;
    // Edits that must not be empty, in the order they are checked, with their message ids.
    std::vector<std::pair<int, int>> required;  // (edit index, string id)
};

// The kinds of the four full systems (0..3); HasSavedAccountList tells which have one.
bool HasSavedAccountList(int systemIndex);
const SavedAccountKind& SavedAccountKindOf(int systemIndex);

// What the editor holds: its edits in editor order and the save box.
struct SavedAccountEntry {
    std::vector<std::string> texts;
    bool save = false;
};

// The row of an entry: each edit into its field, the save flag "true" or "false", and the
// fields that are kept only when saving left empty while the box is clear.
std::string SavedRowFromEntry(const SavedAccountKind& kind, const SavedAccountEntry& entry);
// The entry of a row; the box is checked when the save flag contains "true".
SavedAccountEntry EntryFromSavedRow(const SavedAccountKind& kind, const std::string& row);
// The first problem of an entry: its string id and the edit to focus; 0 when none.
int SavedEntryProblem(const SavedAccountKind& kind, const SavedAccountEntry& entry,
                      int& focusEdit);

// The text of a cell: the field as stored, or "*****" for a non-empty secret.
std::string SavedAccountCell(const SavedAccountKind& kind, const std::string& row, int column);

// The stored columns of the rows, one per key.
TextList SavedAccountColumns(const SavedAccountKind& kind, const TextList& rows);
// True when every column of the rows can be enciphered (at most kMaxPlainBytes).
bool SavedAccountsFit(const SavedAccountKind& kind, const TextList& rows);

// Reads the keys (each value whole, deciphered) and rebuilds the rows. Parts of a further
// column beyond the account column's have no row and are left out.
TextList ReadSavedAccounts(const SettingsStore& settings, const SavedAccountKind& kind);
// Writes every column of the rows as a secret setting, all in one save. Every column is
// enciphered before anything is written: when one cannot be (the list is too long) or the
// file cannot be written, nothing stored changes and the result is false.
bool WriteSavedAccounts(const SettingsStore& settings, const SavedAccountKind& kind,
                        const TextList& rows);

// Told when a new or edited row would make the list too long to store.
extern const char kSavedListFullMessage[];
// Told when the settings file could not be written.
extern const char kSavedListNotWrittenMessage[];

}  // namespace pw
