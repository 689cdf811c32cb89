#pragma once
// The strip file "tmp.html": a page whose one table cell holds a marquee of image links. The
// program writes it after each fetch of the information page and the banner view reads it back.
#include <string>
#include <vector>

#include "info/info_page.h"

namespace pw {

inline constexpr char kStripFileName[] = "tmp.html";

// The page head: content type windows-1251, no context menu, no body margins, the 614 x 72
// table whose cell has the site's "BackImage.jpg" behind a left-scrolling marquee.
std::string StripHead(const std::string& site);
// "</MARQUEE></td></tr></table></body></html>"
std::string StripTail();
// One image link line of the strip, every text HTML-escaped, ended by "\r\n".
std::string StripLink(const BannerEntry& entry);
// head, "\r\n", the links, tail.
std::string StripPage(const std::string& site, const std::vector<BannerEntry>& entries);

// Escapes & < > " ' and turns control characters into blanks, so a text cannot leave the
// attribute it is written into.
std::string EscapeHtml(const std::string& text);
std::string UnescapeHtml(const std::string& text);

// What a strip file shows.
struct StripContent {
    std::string background;            // address of the cell's background image
    std::vector<BannerEntry> links;    // in the order of the file
};
// Reads back a strip page written by StripPage; foreign markup yields what it can.
StripContent ParseStrip(const std::string& page);

// Replaces the strip file as a whole: a read-only file is made writable first, and the new
// content goes to a temporary file that is renamed over it. False when it cannot be written
// (the old file stays as it was).
bool WriteStripFile(const std::string& path, const std::string& content);

}  // namespace pw
