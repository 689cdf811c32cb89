#include "settings/ini_file.h"

#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "store/file_io.h"

namespace pw {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// One line of the buffer: [start, contentEnd) is the text without its line end, next is
// where the following line starts.
struct LineRef {
    std::size_t start = 0, contentEnd = 0, next = 0;
};

class LineWalker {
public:
    explicit LineWalker(std::string_view buf) : buf_(buf) {}
    // A line ends at CR LF, LF, or a CR alone (files from old editors).
    bool Next(LineRef& line) {
        if (pos_ >= buf_.size()) return false;
        line.start = pos_;
        const std::size_t end = buf_.find_first_of("\r\n", pos_);
        if (end == std::string_view::npos) {
            line.contentEnd = line.next = buf_.size();
        } else {
            line.contentEnd = end;
            const bool crlf = buf_[end] == '\r' && end + 1 < buf_.size() && buf_[end + 1] == '\n';
            line.next = end + (crlf ? 2 : 1);
        }
        pos_ = line.next;
        return true;
    }
    std::string_view Text(const LineRef& line) const {
        return buf_.substr(line.start, line.contentEnd - line.start);
    }

private:
    std::string_view buf_;
    std::size_t pos_ = 0;
};

// "[name]" (leading blanks allowed): the name between the brackets, blanks trimmed.
bool SectionOf(std::string_view text, std::string_view& name) {
    text = TrimBlanks(text);
    if (text.empty() || text.front() != '[') return false;
    text.remove_prefix(1);
    const std::size_t close = text.find(']');
    name = TrimBlanks(close == std::string_view::npos ? text : text.substr(0, close));
    return true;
}

// "key = value": the trimmed key and the raw text after the first "=".
bool KeyOf(std::string_view text, std::string_view& key, std::string_view& rest) {
    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos) return false;
    key = TrimBlanks(text.substr(0, eq));
    rest = text.substr(eq + 1);
    return true;
}

std::string DecodeValue(std::string_view rest) {
    rest = TrimBlanks(rest);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
        rest = rest.substr(1, rest.size() - 2);
    return std::string(rest);
}

// Written so that DecodeValue gives the value back: a value the reader would trim or unquote
// is wrapped in one extra pair of quotes.
std::string EncodeValue(const std::string& value) {
    const bool edgeBlank = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (edgeBlank || quoted) return '"' + value + '"';
    return value;
}

bool HasLineBreak(const std::string& s) {
    return s.find('\n') != std::string::npos || s.find('\r') != std::string::npos;
}

bool ValidEdit(const IniEdit& e) {
    if (e.section.empty() || e.key.empty()) return false;
    if (HasLineBreak(e.section) || HasLineBreak(e.key) || HasLineBreak(e.value)) return false;
    if (e.section.find(']') != std::string::npos) return false;
    if (TrimBlanks(e.section) != e.section || TrimBlanks(e.key) != e.key) return false;
    if (e.key.find('=') != std::string::npos || e.key.front() == '[') return false;
    return true;
}

// A file saved by some editors starts with the UTF-8 byte-order mark: it is not part of the
// first line, and a rewrite keeps it.
constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool TakeBom(std::string& buf) {
    if (buf.compare(0, kBom.size(), kBom) != 0) return false;
    buf.erase(0, kBom.size());
    return true;
}

// New lines end as the file's lines do: CR LF unless the file uses a CR alone.
std::string_view EolOf(const std::string& buf) {
    const std::size_t end = buf.find_first_of("\r\n");
    if (end != std::string::npos && buf[end] == '\r' &&
        (end + 1 == buf.size() || buf[end + 1] != '\n'))
        return "\r";
    return "\r\n";
}

bool EndsWithLineEnd(const std::string& buf) {
    return !buf.empty() && (buf.back() == '\n' || buf.back() == '\r');
}

// Applies one edit to the file text.
void ApplyEdit(std::string& buf, const IniEdit& e) {
    const std::string eol(EolOf(buf));
    const std::string line = e.key + "=" + EncodeValue(e.value);
    LineWalker walker(buf);
    LineRef ref;
    bool inSection = false;
    std::size_t insertAt = std::string::npos;  // after the section's last key line
    while (walker.Next(ref)) {
        const std::string_view text = walker.Text(ref);
        std::string_view name, key, rest;
        if (SectionOf(text, name)) {
            if (inSection) break;  // end of the first occurrence
            if (SameName(name, e.section)) {
                inSection = true;
                insertAt = ref.next;
            }
            continue;
        }
        if (!inSection || !KeyOf(text, key, rest)) continue;
        if (SameName(key, e.key)) {
            buf.replace(ref.start, ref.contentEnd - ref.start, line);
            return;
        }
        insertAt = ref.next;
    }
    std::string add;
    if (insertAt == std::string::npos) {
        insertAt = buf.size();
        if (!buf.empty() && !EndsWithLineEnd(buf)) add += eol;
        add += "[" + e.section + "]" + eol;
    } else if (insertAt == buf.size() && !buf.empty() && !EndsWithLineEnd(buf)) {
        add += eol;  // the last line had no line end
    }
    add += line + eol;
    buf.insert(insertAt, add);
}

// The current text for a rewrite. False when the file exists but cannot be read whole, so a
// write never replaces data it could not see.
bool LoadForWrite(const std::string& path, std::string& buf) {
    buf.clear();
    if (ReadFileBounded(path, kIniMaxBytes + 1, buf)) return buf.size() <= kIniMaxBytes;
    struct stat st;
    return ::stat(path.c_str(), &st) != 0 && errno == ENOENT;
}

// ---- The parsed file, kept while the file on disk stays the same ----------------------------

// What tells one state of the file from another: a save replaces the file (a new inode), an
// edit in place changes its size or its times.
struct FileIdentity {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    long long mtimeSec = 0, mtimeNsec = 0, ctimeSec = 0, ctimeNsec = 0;
    bool operator==(const FileIdentity&) const = default;
};

bool IdentityOf(const std::string& path, FileIdentity& id) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    id = {st.st_dev,          st.st_ino,         st.st_size,        st.st_mtim.tv_sec,
          st.st_mtim.tv_nsec, st.st_ctim.tv_sec, st.st_ctim.tv_nsec};
    return true;
}

struct ParsedIni {
    FileIdentity id;
    // "section\nkey" in lower case: the value of the first such key in the first section of
    // that name, as a read finds it.
    std::unordered_map<std::string, std::string> values;
    std::vector<std::string> sections;  // first occurrence of each, in order
};

std::string LowerText(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Lower(c);
    return out;
}

std::string NameKey(std::string_view section, std::string_view key) {
    return LowerText(section) + '\n' + LowerText(key);
}

std::atomic<std::size_t> g_parses{0};

// One pass over the text; linear in its size.
std::shared_ptr<ParsedIni> Parse(std::string buf) {
    ++g_parses;
    auto parsed = std::make_shared<ParsedIni>();
    TakeBom(buf);
    std::unordered_set<std::string> seen;  // lower-cased section names
    LineWalker walker(buf);
    LineRef ref;
    bool current = false;  // inside the first occurrence of a section name
    std::string prefix;
    while (walker.Next(ref)) {
        const std::string_view text = walker.Text(ref);
        std::string_view name, key, rest;
        if (SectionOf(text, name)) {
            std::string lowered = LowerText(name);
            current = seen.insert(lowered).second;
            if (current) parsed->sections.emplace_back(name);
            prefix = std::move(lowered) + '\n';
            continue;
        }
        if (current && KeyOf(text, key, rest))
            parsed->values.try_emplace(prefix + LowerText(key), DecodeValue(rest));
    }
    return parsed;
}

std::mutex g_cacheLock;
std::map<std::string, std::shared_ptr<const ParsedIni>>& Cache() {
    static std::map<std::string, std::shared_ptr<const ParsedIni>> cache;
    return cache;
}

void Forget(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_cacheLock);
    Cache().erase(path);
}

// After a save the text just written is the file: no need to read it again.
void Remember(const std::string& path, const std::string& buf) {
    FileIdentity id;
    if (!IdentityOf(path, id)) return Forget(path);
    std::shared_ptr<ParsedIni> parsed = Parse(buf);
    parsed->id = id;
    std::lock_guard<std::mutex> lock(g_cacheLock);
    Cache()[path] = std::move(parsed);
}

// The parsed file, read again only when it changed on disk; null when it cannot be read.
std::shared_ptr<const ParsedIni> Parsed(const std::string& path) {
    FileIdentity id;
    if (!IdentityOf(path, id)) {
        Forget(path);
        return nullptr;
    }
    {
        std::lock_guard<std::mutex> lock(g_cacheLock);
        const auto it = Cache().find(path);
        if (it != Cache().end() && it->second->id == id) return it->second;
    }
    // Should the file change between the look and the read, the identity kept is the older
    // one, and the next read parses again.
    std::string buf;
    if (ReadFileWithin(path, kIniMaxBytes, buf) != FileRead::kRead) {  // never half a file
        Forget(path);
        return nullptr;
    }
    std::shared_ptr<ParsedIni> parsed = Parse(std::move(buf));
    parsed->id = id;
    std::lock_guard<std::mutex> lock(g_cacheLock);
    Cache()[path] = parsed;
    return parsed;
}

}  // namespace

std::optional<std::uint64_t> IniTooLarge(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    const auto size = static_cast<std::uint64_t>(st.st_size);
    return size > kIniMaxBytes ? std::optional<std::uint64_t>(size) : std::nullopt;
}

bool IniRead(const std::string& path, const std::string& section, const std::string& key,
             std::string& value) {
    value.clear();
    const std::shared_ptr<const ParsedIni> parsed = Parsed(path);
    if (!parsed) return false;
    const auto it = parsed->values.find(NameKey(section, key));
    if (it == parsed->values.end()) return false;
    value = it->second;
    return !value.empty();
}

bool IniWrite(const std::string& path, const std::string& section, const std::string& key,
              const std::string& value, bool ownerOnly) {
    return IniWriteMany(path, {IniEdit{section, key, value}}, ownerOnly);
}

bool IniWriteMany(const std::string& path, const std::vector<IniEdit>& edits, bool ownerOnly) {
    for (const IniEdit& e : edits)
        if (!ValidEdit(e)) return false;
    std::string buf;
    if (!LoadForWrite(path, buf)) return false;
    const bool bom = TakeBom(buf);
    for (const IniEdit& e : edits) ApplyEdit(buf, e);
    if (bom) buf.insert(0, kBom);
    if (buf.size() > kIniMaxBytes) return false;
    if (!WriteFileAtomic(path, buf, ownerOnly)) {
        Forget(path);
        return false;
    }
    Remember(path, buf);
    return true;
}

std::vector<std::string> IniSections(const std::string& path) {
    const std::shared_ptr<const ParsedIni> parsed = Parsed(path);
    return parsed ? parsed->sections : std::vector<std::string>();
}

std::size_t IniParseCount() { return g_parses.load(); }

}  // namespace pw
