#include "lr_xml.h"

#include <array>
#include <utility>

namespace sandbox::lrxml {

std::optional<std::string_view> Inner(std::string_view xml, std::string_view name) {
    const std::string open = "<" + std::string(name) + ">";
    const std::string close = "</" + std::string(name) + ">";
    const std::size_t s = xml.find(open);
    if (s == std::string_view::npos) return std::nullopt;
    const std::size_t v = s + open.size();
    const std::size_t e = xml.find(close, v);
    if (e == std::string_view::npos) return std::nullopt;
    return xml.substr(v, e - v);
}

std::vector<std::string_view> All(std::string_view xml, std::string_view name) {
    const std::string open = "<" + std::string(name) + ">";
    const std::string close = "</" + std::string(name) + ">";
    std::vector<std::string_view> out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t s = xml.find(open, pos);
        if (s == std::string_view::npos) break;
        const std::size_t v = s + open.size();
        const std::size_t e = xml.find(close, v);
        if (e == std::string_view::npos) break;
        out.push_back(xml.substr(v, e - v));
        pos = e + close.size();
    }
    return out;
}

std::optional<std::string_view> Attribute(std::string_view xml, std::string_view root,
                                          std::string_view attr) {
    const std::string open = "<" + std::string(root);
    const std::size_t s = xml.find(open);
    if (s == std::string_view::npos) return std::nullopt;
    const std::size_t end = xml.find('>', s);
    const std::string_view tag = xml.substr(s, end == std::string_view::npos ? xml.npos : end - s);
    const std::string key = " " + std::string(attr) + "=\"";
    const std::size_t a = tag.find(key);
    if (a == std::string_view::npos) return std::nullopt;
    const std::size_t v = a + key.size();
    const std::size_t q = tag.find('"', v);
    if (q == std::string_view::npos) return std::nullopt;
    return tag.substr(v, q - v);
}

namespace {
constexpr std::array<std::pair<std::string_view, char>, 5> kEntities = {{
    {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}}};
}

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& [entity, ch] : kEntities) {
                if (text.substr(i, entity.size()) == entity) {
                    out += ch;
                    i += entity.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        bool replaced = false;
        for (const auto& [entity, ch] : kEntities) {
            if (c == ch) {
                out += entity;
                replaced = true;
                break;
            }
        }
        if (!replaced) out += c;
    }
    return out;
}

std::string Element(std::string_view name, std::string_view value) {
    std::string out = "<" + std::string(name) + ">";
    out += Escape(value);
    out += "</" + std::string(name) + ">";
    return out;
}

}  // namespace sandbox::lrxml
