#include "info/banner_strip.h"

#include <sys/stat.h>

#include "store/file_io.h"

namespace pw {
namespace {

// The value of attr="..." at or after pos, within [pos, end); empty when missing.
std::string Attribute(const std::string& page, const std::string& attr, std::size_t pos,
                      std::size_t end) {
    const std::string key = " " + attr + "=\"";
    const std::size_t at = page.find(key, pos);
    if (at == std::string::npos || at >= end) return std::string();
    const std::size_t start = at + key.size();
    const std::size_t close = page.find('"', start);
    if (close == std::string::npos || close > end) return std::string();
    return UnescapeHtml(page.substr(start, close - start));
}

}  // namespace

std::string StripHead(const std::string& site) {
    return "<html><head>"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
           "<title></title>\r\n"
           "<script>document.oncontextmenu = function() { return false; };</script>\r\n"
           "<style>body { margin-left: 0px; margin-top: 0px; margin-right: 0px; "
           "margin-bottom: 0px; }</style>\r\n"
           "</head><body>\r\n"
           "<table width=\"614\" height=\"72\" border=\"1\"><tr><td nowrap background=\"" +
           EscapeHtml(SiteUrl(site, "/BackImage.jpg")) +
           "\">\r\n"
           "<MARQUEE direction=\"left\" scrollamount=\"3\" scrolldelay=\"0\" width=\"604\" "
           "height=\"60\" onmouseover=\"this.stop()\" onmouseout=\"this.start()\">";
}

std::string StripTail() { return "</MARQUEE></td></tr></table></body></html>"; }

std::string StripLink(const BannerEntry& entry) {
    return "<a href=\"" + EscapeHtml(entry.link) + "\" target=\"_blank\" title=\"" +
           EscapeHtml(entry.title) + "\"><img src=\"" + EscapeHtml(entry.image) +
           "\" align=\"absmiddle\" width=\"468\" height=\"60\" border=\"0\"></a>\r\n";
}

std::string StripPage(const std::string& site, const std::vector<BannerEntry>& entries) {
    std::string page = StripHead(site) + "\r\n";
    for (const BannerEntry& e : entries) page += StripLink(e);
    return page + StripTail();
}

std::string EscapeHtml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default:
            out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return out;
}

std::string UnescapeHtml(const std::string& text) {
    static const std::pair<const char*, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& [name, c] : kEntities) {
                if (text.compare(i, std::char_traits<char>::length(name), name) == 0) {
                    out += c;
                    i += std::char_traits<char>::length(name);
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

StripContent ParseStrip(const std::string& page) {
    StripContent content;
    const std::size_t marquee = page.find("<MARQUEE");
    content.background = Attribute(page, "background", 0,
                                   marquee == std::string::npos ? page.size() : marquee);
    std::size_t pos = marquee == std::string::npos ? 0 : marquee;
    for (;;) {
        const std::size_t at = page.find("<a href=\"", pos);
        if (at == std::string::npos) break;
        std::size_t end = page.find("</a>", at);
        if (end == std::string::npos) end = page.size();
        BannerEntry e;
        e.link = Attribute(page, "href", at, end);
        e.title = Attribute(page, "title", at, end);
        e.image = Attribute(page, "src", at, end);
        if (!e.link.empty() || !e.image.empty()) content.links.push_back(std::move(e));
        pos = end;
    }
    return content;
}

bool WriteStripFile(const std::string& path, const std::string& content) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR))
        ::chmod(path.c_str(), st.st_mode | S_IWUSR);
    return WriteFileAtomic(path, content);
}

}  // namespace pw
