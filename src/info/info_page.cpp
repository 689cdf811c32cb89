#include "info/info_page.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <random>
#include <utility>

#include "store/text_list.h"
#include "ui/base/strings.h"

namespace pw {
namespace {

// Of the count characters that follow the marker and one further character, the leading run
// of digits and dots.
std::string NumberAfter(const std::string& page, const char* marker, std::size_t count) {
    const std::size_t at = page.find(marker);
    if (at == std::string::npos) return std::string();
    const std::size_t start = at + std::strlen(marker) + 1;
    if (start >= page.size()) return std::string();
    const std::string window = page.substr(start, count);
    std::size_t n = 0;
    while (n < window.size() && (std::isdigit(static_cast<unsigned char>(window[n])) ||
                                 window[n] == '.'))
        ++n;
    return window.substr(0, n);
}

std::string Trim(const std::string& s) {
    const char* ws = " \t\r\n";
    const std::size_t first = s.find_first_not_of(ws);
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(ws) - first + 1);
}

bool StartsWithNoCase(const std::string& s, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    if (s.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
    return true;
}

}  // namespace

std::string SiteUrl(const std::string& site, const std::string& path) {
    std::string base = site;
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base + path;
}

std::string FindCurrentIp(const std::string& page) { return NumberAfter(page, kIpMarker, 17); }

std::string FindLastVersion(const std::string& page) {
    return NumberAfter(page, kVersionMarker, 5);
}

bool IsNewerVersion(const std::string& siteVersion, const std::string& ownVersion) {
    return siteVersion.compare(ownVersion) > 0;
}

std::string NewVersionNotice(const std::string& ownVersion, const std::string& siteVersion) {
    return Str(104) + "\r\n" + Str(105) + " " + ownVersion + " \r\n" + Str(106) + " " +
           siteVersion;
}

std::vector<std::string> SplitBannerEntries(const std::string& page) {
    std::vector<std::string> entries;
    std::size_t pos = page.find("http://");
    if (pos == std::string::npos) pos = 0;
    for (;;) {
        const std::size_t end = page.find("<br>", pos);
        if (end == std::string::npos) break;
        entries.push_back(page.substr(pos, end - pos));
        pos = end + 4;
    }
    return entries;
}

void ShuffleEntries(std::vector<std::string>& entries, std::uint32_t seed) {
    const std::size_t n = entries.size();
    if (n < 2) return;
    std::mt19937 random(seed);
    for (std::size_t i = 0; i < 2 * n; ++i) {
        const std::size_t a = random() % n;
        const std::size_t b = random() % n;
        std::swap(entries[a], entries[b]);
    }
}

bool IsWebAddress(const std::string& address) {
    std::size_t hostAt = 0;
    if (StartsWithNoCase(address, "http://")) hostAt = 7;
    else if (StartsWithNoCase(address, "https://")) hostAt = 8;
    else return false;
    return address.size() > hostAt && address[hostAt] != '/';
}

bool ParseBannerEntry(const std::string& raw, BannerEntry& entry) {
    const TextList fields = Split(raw, "~");
    if (fields.size() < 3) return false;
    entry.link = Trim(fields[0]);
    entry.title = Trim(fields[1]);
    entry.image = Trim(fields[2]);
    return IsWebAddress(entry.link) && IsWebAddress(entry.image);
}

}  // namespace pw
