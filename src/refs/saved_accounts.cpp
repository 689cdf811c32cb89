#include "refs/saved_accounts.h"

#include <QtGlobal>
#include <algorithm>

#include "accounts/tab_logic.h"
#include "crypto/cipher.h"
#include "settings/keys.h"
#include "settings/settings_store.h"

namespace pw {

const char kSavedListFullMessage[] =
    QT_TRANSLATE_NOOP("Purseward",
                      "The list is full: this account does not fit into the stored "
                      "list. Delete an account you no longer need and try again.");
const char kSavedListNotWrittenMessage[] =
    QT_TRANSLATE_NOOP("Purseward", "The saved accounts could not be written to the settings file.");

namespace {

constexpr char kSep[] = "~";

std::vector<std::string> KeysOfSystem(int systemIndex) {
    const keys::SystemKeys& k = keys::KeysOf(systemIndex);
    std::vector<std::string> out;
    for (const char* key : {k.account, k.apiName, k.save, k.pin, k.pass})
        if (key[0] != '\0') out.emplace_back(key);
    return out;
}

std::vector<SavedAccountKind> MakeKinds() {
    std::vector<SavedAccountKind> kinds(4);

    SavedAccountKind& lr = kinds[0];
    lr.systemIndex = 0;
    lr.listResource = 147;
    lr.listCaption = QT_TRANSLATE_NOOP("Purseward", "LR Accounts");
    lr.columns = {{QT_TRANSLATE_NOOP("Purseward", "LR-Account"), Align::Left, 110},
                  {QT_TRANSLATE_NOOP("Purseward", "API Name"), Align::Left, 100},
                  {QT_TRANSLATE_NOOP("Purseward", "Save"), Align::Center, 50},
                  {QT_TRANSLATE_NOOP("Purseward", "SecretWord"), Align::Left, 100}};
    lr.tableFile = "RefAccount.set";
    lr.secretColumn = 3;
    lr.saveField = 2;
    lr.editorResource = 148;
    lr.editorLabels = {QT_TRANSLATE_NOOP("Purseward", "LR-Account :"),
                       QT_TRANSLATE_NOOP("Purseward", "API Name :"),
                       QT_TRANSLATE_NOOP("Purseward", "SecretWord")};
    lr.editorFields = {0, 1, 3};
    lr.editorMasked = {false, false, true};
    lr.saveCaption = QT_TRANSLATE_NOOP("Purseward", "Save SecretWord");
    lr.savedOnlyFields = {3};
    lr.required = {{0, 110}, {1, 111}};

    SavedAccountKind& pm = kinds[1];
    pm.systemIndex = 1;
    pm.listResource = 149;
    pm.listCaption = QT_TRANSLATE_NOOP("Purseward", "PM Accounts");
    pm.columns = {{QT_TRANSLATE_NOOP("Purseward", "AccountID"), Align::Left, 110},
                  {QT_TRANSLATE_NOOP("Purseward", "Save"), Align::Center, 50},
                  {QT_TRANSLATE_NOOP("Purseward", "PassPhrase"), Align::Left, 100}};
    pm.tableFile = "PMRefAccount.set";
    pm.secretColumn = 2;
    pm.saveField = 1;
    pm.editorResource = 150;
    pm.editorLabels = {QT_TRANSLATE_NOOP("Purseward", "AccountID :"),
                       QT_TRANSLATE_NOOP("Purseward", "PassPhrase :")};
    pm.editorFields = {0, 2};
    pm.editorMasked = {false, true};
    pm.saveCaption = QT_TRANSLATE_NOOP("Purseward", "Save PassPhrase");
    pm.savedOnlyFields = {2};
    pm.required = {{0, 132}};

    SavedAccountKind& vm = kinds[2];
    vm.systemIndex = 2;
    vm.listResource = 158;
    vm.listCaption = QT_TRANSLATE_NOOP("Purseward", "VM Accounts");
    vm.columns = {{QT_TRANSLATE_NOOP("Purseward", "AccountID"), Align::Left, 110},
                  {QT_TRANSLATE_NOOP("Purseward", "Save"), Align::Center, 50},
                  {QT_TRANSLATE_NOOP("Purseward", "PinNumber"), Align::Left, 100},
                  {QT_TRANSLATE_NOOP("Purseward", "Password"), Align::Left, 100}};
    vm.tableFile = "VMRefAccount.set";
    vm.secretColumn = 3;
    vm.saveField = 1;
    vm.editorResource = 159;
    vm.editorLabels = {QT_TRANSLATE_NOOP("Purseward", "AccountID :"),
                       QT_TRANSLATE_NOOP("Purseward", "PinNumber :"),
                       QT_TRANSLATE_NOOP("Purseward", "Password :")};
    vm.editorFields = {0, 2, 3};
    vm.editorMasked = {false, false, true};
    vm.saveCaption = QT_TRANSLATE_NOOP("Purseward", "Save Pin and Password");
    vm.savedOnlyFields = {2, 3};
    vm.required = {{0, 137}};

    SavedAccountKind& eg = kinds[3];
    eg = pm;
    eg.systemIndex = 3;
    eg.listResource = 166;
    eg.listCaption = QT_TRANSLATE_NOOP("Purseward", "EG Accounts");
    eg.tableFile = "EGRefAccount.set";
    eg.editorResource = 167;

    for (SavedAccountKind& k : kinds) {
        k.section = keys::KeysOf(k.systemIndex).section;
        k.keys = KeysOfSystem(k.systemIndex);
    }
    return kinds;
}

const std::vector<SavedAccountKind>& Kinds() {
    static const std::vector<SavedAccountKind> kinds = MakeKinds();
    return kinds;
}

std::string FieldAt(const TextList& fields, std::size_t i) {
    return i < fields.size() ? fields[i] : std::string();
}

}  // namespace

bool HasSavedAccountList(int systemIndex) { return systemIndex >= 0 && systemIndex < 4; }

const SavedAccountKind& SavedAccountKindOf(int systemIndex) {
    return Kinds().at(static_cast<std::size_t>(systemIndex));
}

std::string SavedRowFromEntry(const SavedAccountKind& kind, const SavedAccountEntry& entry) {
    TextList fields(kind.keys.size());
    for (std::size_t i = 0; i < kind.editorFields.size(); ++i) {
        const int field = kind.editorFields[i];
        const bool savedOnly = std::find(kind.savedOnlyFields.begin(), kind.savedOnlyFields.end(),
                                         field) != kind.savedOnlyFields.end();
        if (!savedOnly || entry.save) fields[field] = FieldAt(entry.texts, i);
    }
    fields[kind.saveField] = entry.save ? "true" : "false";
    return JoinList(fields, kSep);
}

SavedAccountEntry EntryFromSavedRow(const SavedAccountKind& kind, const std::string& row) {
    const TextList fields = Split(row, kSep);
    SavedAccountEntry entry;
    for (int field : kind.editorFields)
        entry.texts.push_back(FieldAt(fields, static_cast<std::size_t>(field)));
    entry.save = FieldAt(fields, kind.saveField).find("true") != std::string::npos;
    return entry;
}

int SavedEntryProblem(const SavedAccountKind& kind, const SavedAccountEntry& entry,
                      int& focusEdit) {
    for (const auto& [edit, message] : kind.required) {
        if (FieldAt(entry.texts, static_cast<std::size_t>(edit)).empty()) {
            focusEdit = edit;
            return message;
        }
    }
    return 0;
}

std::string SavedAccountCell(const SavedAccountKind& kind, const std::string& row, int column) {
    const std::string field = FieldAt(Split(row, kSep), static_cast<std::size_t>(column));
    if (column == kind.secretColumn && !field.empty()) return "*****";
    return field;
}

TextList SavedAccountColumns(const SavedAccountKind& kind, const TextList& rows) {
    return ColumnsFromSavedRows(rows, kind.keys.size());
}

bool SavedAccountsFit(const SavedAccountKind& kind, const TextList& rows) {
    for (const std::string& column : SavedAccountColumns(kind, rows))
        if (column.size() > kMaxPlainBytes) return false;
    return true;
}

TextList ReadSavedAccounts(const SettingsStore& settings, const SavedAccountKind& kind) {
    TextList columns;
    for (const std::string& key : kind.keys) columns.push_back(settings.GetSecret(kind.section, key));
    TextList rows = SavedRowsFromColumns(columns);
    for (std::string& c : columns) WipeString(c);
    return rows;
}

bool WriteSavedAccounts(const SettingsStore& settings, const SavedAccountKind& kind,
                        const TextList& rows) {
    TextList columns = SavedAccountColumns(kind, rows);
    std::vector<IniEdit> edits;
    bool ok = true;
    for (std::size_t i = 0; i < columns.size() && ok; ++i) {
        std::string hex;
        ok = SettingsStore::TrySecretText(columns[i], settings.UnlockPassword(), hex);
        edits.push_back({kind.section, kind.keys[i], hex});
    }
    for (std::string& c : columns) WipeString(c);
    return ok && settings.WriteMany(edits);
}

}  // namespace pw
