#pragma once
// Reading the information page of the program's web site: the caller's IP address, the newest
// program version and the list of banner entries. The page is windows-1251 text.
#include <cstdint>
#include <string>
#include <vector>

namespace pw {

// "Ваш IP-адрес :" in windows-1251.
inline constexpr char kIpMarker[] = "\xC2\xE0\xF8 IP-\xE0\xE4\xF0\xE5\xF1 :";
inline constexpr char kVersionMarker[] = "Last version :";
// What HttpGet answers on failure begins with this.
inline constexpr char kHttpErrorMarker[] = "-=Error=-";

// The information page and the site's root below the site address ("http://host[:port]").
std::string SiteUrl(const std::string& site, const std::string& path);

// The address after the IP marker (one character after it is skipped; of the next 17 the
// leading run of digits and dots). Empty when the marker is missing.
std::string FindCurrentIp(const std::string& page);
// The version after "Last version :" (one character skipped; of the next 5 the leading run of
// digits and dots). Empty when the marker is missing.
std::string FindLastVersion(const std::string& page);
// Versions compare as texts, byte by byte: "2.10.0" is older than "2.9.3".
bool IsNewerVersion(const std::string& siteVersion, const std::string& ownVersion);
// The tray notice of a newer version (strings 104, 105, 106).
std::string NewVersionNotice(const std::string& ownVersion, const std::string& siteVersion);

struct BannerEntry {
    std::string link;
    std::string title;
    std::string image;
};

// The raw entries of the page: everything from the first "http://" on, each entry ended by
// "<br>"; text after the last "<br>" is ignored.
std::vector<std::string> SplitBannerEntries(const std::string& page);
// 2n times two positions picked at random exchange their entries.
void ShuffleEntries(std::vector<std::string>& entries, std::uint32_t seed);
// Link, title and image of a raw entry ("~"-joined, white space around each field dropped).
// False for an entry with fewer than three fields, or whose link or image is not an http or
// https address.
bool ParseBannerEntry(const std::string& raw, BannerEntry& entry);

// True for an "http://" or "https://" address (scheme in any letter case) with a host.
bool IsWebAddress(const std::string& address);

}  // namespace pw
