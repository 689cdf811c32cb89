#include "refs/ref_lists.h"

#include <QtGlobal>

#include "store/file_io.h"

namespace pw {

namespace {

const TextList kPayeeNamed = {QT_TRANSLATE_NOOP("Purseward", "Account"),
                              QT_TRANSLATE_NOOP("Purseward", "Account-Name"),
                              QT_TRANSLATE_NOOP("Purseward", "Account-Comment")};
const TextList kPayeeNamedWidths = {"80", "150", "150"};
const TextList kPayee = {QT_TRANSLATE_NOOP("Purseward", "Account"),
                         QT_TRANSLATE_NOOP("Purseward", "Account-Comment")};
const TextList kPayeeWidths = {"80", "150"};
const TextList kMemo = {QT_TRANSLATE_NOOP("Purseward", "Memo")};
const TextList kMemoWidths = {"200"};

}  // namespace

const std::vector<RefListSpec>& RefLists() {
    static const std::vector<RefListSpec> lists = {
        {32813, "LRAccountTo.ini", 130, kPayeeNamed, kPayeeNamedWidths, 0, false},
        {32814, "LRMemo.ini", 131, kMemo, kMemoWidths, 0, true},
        {32815, "PMAccountTo.ini", 135, kPayee, kPayeeWidths, 1, false},
        {32816, "PMMemo.ini", 136, kMemo, kMemoWidths, 1, true},
        {32817, "VMAccountTo.ini", 138, kPayeeNamed, kPayeeNamedWidths, 2, false},
        {32818, "VMMemo.ini", 139, kMemo, kMemoWidths, 2, true},
        {32821, "EGAccountTo.ini", 148, kPayee, kPayeeWidths, 3, false},
        {32822, "EGMemo.ini", 149, kMemo, kMemoWidths, 3, true},
    };
    return lists;
}

const RefListSpec* RefListByCommand(int command) {
    for (const RefListSpec& s : RefLists())
        if (s.command == command) return &s;
    return nullptr;
}

const RefListSpec& RefListOf(int systemIndex, bool memo) {
    for (const RefListSpec& s : RefLists())
        if (s.systemIndex == systemIndex && s.memo == memo) return s;
    return RefLists().front();
}

int RefEditorFor(const std::string& fileName) {
    if (fileName == "LRAccountTo.ini") return 1;
    if (fileName == "PMAccountTo.ini" || fileName == "EGAccountTo.ini") return 3;
    if (fileName == "VMAccountTo.ini") return 4;
    for (const char* memo : {"LRMemo.ini", "PMMemo.ini", "VMMemo.ini", "EGMemo.ini"})
        if (fileName.find(memo) != std::string::npos) return 2;
    return 0;
}

const RefEditorSpec& RefEditorOf(int kind) {
    static const std::vector<RefEditorSpec> editors = {
        {1,
         154,
         {QT_TRANSLATE_NOOP("Purseward", "LR-Account :"),
          QT_TRANSLATE_NOOP("Purseward", "LR-Account Name :"),
          QT_TRANSLATE_NOOP("Purseward", "LR-Account Comment :")},
         {1002, 1003, 1004},
         1,
         0,
         true},
        {2, 155, {QT_TRANSLATE_NOOP("Purseward", "Memo for payment :")}, {1004}, -1, -1, false},
        {3,
         156,
         {QT_TRANSLATE_NOOP("Purseward", "Account :"),
          QT_TRANSLATE_NOOP("Purseward", "Account Comment :")},
         {1002, 1004},
         -1,
         -1,
         true},
        {4,
         162,
         {QT_TRANSLATE_NOOP("Purseward", "VM-Account :"),
          QT_TRANSLATE_NOOP("Purseward", "VM-Account Name :"),
          QT_TRANSLATE_NOOP("Purseward", "VM-Account Comment :")},
         {1002, 1003, 1004},
         1,
         2,
         true},
    };
    return editors.at(static_cast<std::size_t>(kind < 1 || kind > 4 ? 1 : kind - 1));
}

std::string RefListPath(const std::string& programDir, const std::string& file) {
    return programDir + "Ref/" + file;
}

TextList ParseRefList(const std::string& text) {
    TextList rows;
    std::string line;
    for (const char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty()) rows.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) rows.push_back(line);
    return rows;
}

std::string FormatRefList(const TextList& rows) {
    std::string out;
    for (const std::string& row : rows) out += row + "\r\n";
    return out;
}

RefLoad ReadRefList(const std::string& path, TextList& rows) {
    rows.clear();
    if (!FileExists(path)) return RefLoad::Missing;
    std::string text;
    if (!ReadFileBounded(path, kRefListMaxBytes + 1, text) || text.size() > kRefListMaxBytes)
        return RefLoad::Unreadable;
    rows = ParseRefList(text);
    return RefLoad::Ok;
}

bool WriteRefList(const std::string& path, const TextList& rows) {
    return WriteFileAtomic(path, FormatRefList(rows));
}

std::string RefCellText(const std::string& row, int column) {
    const TextList fields = Split(row, "~");
    return column >= 0 && static_cast<std::size_t>(column) < fields.size()
               ? fields[static_cast<std::size_t>(column)]
               : std::string();
}

namespace {
std::string FillIn(const std::string& pattern, const std::string& path) {
    std::string text = pattern;
    const auto at = text.find("%1");
    if (at != std::string::npos) text.replace(at, 2, path);
    return text;
}
}  // namespace

std::string RefUnreadableMessage(const std::string& path, const std::string& pattern) {
    return FillIn(pattern, path);
}

std::string RefNotWrittenMessage(const std::string& path, const std::string& pattern) {
    return FillIn(pattern, path);
}

}  // namespace pw
