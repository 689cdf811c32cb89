#include "store/schedule_file.h"

#include "crypto/cipher.h"
#include "store/file_io.h"

namespace pw {
namespace {


bool SafeTag(const std::string& tag) {
    if (tag.empty() || tag.find("..") != std::string::npos) return false;
    for (const char c : tag) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7f) return false;
    }
    return true;
}

}  // namespace

std::string ScheduleFilePath(const std::string& programDir, const std::string& tag) {
    if (!SafeTag(tag)) return std::string();
    return programDir + "Set/" + tag + ".sav";
}

ScheduleLoad LoadSchedule(const std::string& programDir, const std::string& tag, int fieldCount,
                          int dueField) {
    ScheduleLoad result;
    const std::string path = ScheduleFilePath(programDir, tag);
    std::string text;
    if (path.empty() || !FileExists(path)) return result;
    if (ReadFileWithin(path, kScheduleFileMaxBytes, text, &result.tooLarge) != FileRead::kRead) {
        result.unreadable = true;
        return result;
    }

    // One enciphered record per line. Lines end with CR LF (LF alone is taken too); empty
    // lines are skipped, and a last line without its line end still counts.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::size_t stop = end;
        while (stop > start && text[stop - 1] == '\r') --stop;
        const std::string line = text.substr(start, stop - start);
        start = end + 1;
        if (line.empty()) continue;

        std::string plain;
        if (!Decipher(line, tag, plain) || plain.empty()) {
            ++result.skippedLines;
            continue;
        }
        const TextList fields = Split(plain, "~");
        if (static_cast<int>(fields.size()) != fieldCount) {
            ++result.skippedLines;
            continue;
        }
        result.dueTimes.push_back(dueField >= 0 && dueField < fieldCount
                                      ? fields[static_cast<std::size_t>(dueField)]
                                      : std::string());
        result.records.push_back(plain);
    }
    return result;
}

bool SaveSchedule(const std::string& programDir, const std::string& tag, const TextList& records) {
    const std::string path = ScheduleFilePath(programDir, tag);
    if (path.empty()) return false;
    std::string out;
    for (const std::string& record : records) {
        std::string hex;
        // A record the cipher refuses (empty, or longer than it takes) is left out; the
        // others are still written, so that removals and sends are never undone.
        if (!Encipher(record, tag, hex)) continue;
        out += hex;
        out += "\r\n";
    }
    return WriteFileAtomic(path, out, true);
}

}  // namespace pw
