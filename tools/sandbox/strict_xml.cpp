#include "strict_xml.h"

#include <array>
#include <cctype>

namespace sandbox::xml {
namespace {

bool NameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool NameChar(char c) { return NameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

constexpr std::array<std::pair<std::string_view, char>, 5> kEntities = {
    {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}}};

class Reader {
  public:
    explicit Reader(std::string_view doc) : s_(doc) {}

    std::optional<Node> Document(std::string& why) {
        auto root = ElementAt(why);
        if (!root) return std::nullopt;
        if (i_ != s_.size()) return Fail(why, "text after the root element");
        return root;
    }

  private:
    std::nullopt_t Fail(std::string& why, const std::string& what) {
        if (why.empty()) why = what + " at " + std::to_string(i_);
        return std::nullopt;
    }

    std::optional<std::string> Name() {
        if (i_ >= s_.size() || !NameStart(s_[i_])) return std::nullopt;
        const std::size_t start = i_;
        while (i_ < s_.size() && NameChar(s_[i_])) ++i_;
        return std::string(s_.substr(start, i_ - start));
    }

    void Blanks() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || s_[i_] == '\n'))
            ++i_;
    }

    // Character data up to stop (exclusive), with entities resolved; false on a bare "&" or
    // on a "<" (which stops element text anyway, so this is for attribute values).
    bool Chars(std::string& out, char stop, std::string& why) {
        while (i_ < s_.size() && s_[i_] != stop) {
            const char c = s_[i_];
            if (c == '<') {
                Fail(why, "\"<\" inside a value");
                return false;
            }
            if (c != '&') {
                out += c;
                ++i_;
                continue;
            }
            bool known = false;
            for (const auto& [entity, ch] : kEntities) {
                if (s_.substr(i_, entity.size()) == entity) {
                    out += ch;
                    i_ += entity.size();
                    known = true;
                    break;
                }
            }
            if (known) continue;
            if (s_.substr(i_, 2) == "&#") {  // &#NN; or &#xHH; of a single byte
                std::size_t j = i_ + 2;
                const bool hex = j < s_.size() && s_[j] == 'x';
                if (hex) ++j;
                unsigned v = 0;
                const std::size_t digitsAt = j;
                while (j < s_.size() && j - digitsAt < 3 &&
                       (std::isxdigit(static_cast<unsigned char>(s_[j])) &&
                        (hex || std::isdigit(static_cast<unsigned char>(s_[j]))))) {
                    v = v * (hex ? 16 : 10) +
                        static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(s_[j]))
                                                  ? s_[j] - '0'
                                                  : (s_[j] | 0x20) - 'a' + 10);
                    ++j;
                }
                if (j > digitsAt && j < s_.size() && s_[j] == ';' && v >= 0x20 && v < 0x100) {
                    out += static_cast<char>(v);
                    i_ = j + 1;
                    continue;
                }
            }
            Fail(why, "a bare \"&\" inside a value");
            return false;
        }
        return true;
    }

    std::optional<Node> ElementAt(std::string& why) {
        if (i_ >= s_.size() || s_[i_] != '<') return Fail(why, "no element");
        ++i_;
        Node node;
        auto name = Name();
        if (!name) return Fail(why, "a malformed tag");
        node.name = *name;
        for (;;) {
            const std::size_t before = i_;
            Blanks();
            if (i_ >= s_.size()) return Fail(why, "an unclosed tag <" + node.name);
            if (s_[i_] == '>' || s_.substr(i_, 2) == "/>") break;
            if (i_ == before) return Fail(why, "a malformed tag <" + node.name);
            auto attr = Name();
            if (!attr || i_ + 1 >= s_.size() || s_[i_] != '=' || s_[i_ + 1] != '"')
                return Fail(why, "a malformed attribute in <" + node.name);
            i_ += 2;
            std::string value;
            if (!Chars(value, '"', why)) return std::nullopt;
            if (i_ >= s_.size()) return Fail(why, "an unclosed attribute in <" + node.name);
            ++i_;
            if (node.Attribute(*attr)) return Fail(why, "a repeated attribute " + *attr);
            node.attributes.emplace_back(*attr, std::move(value));
        }
        if (s_[i_] == '/') {
            i_ += 2;
            return node;
        }
        ++i_;
        for (;;) {
            if (!Chars(node.text, '<', why)) return std::nullopt;
            if (i_ >= s_.size()) return Fail(why, "element <" + node.name + "> is not closed");
            if (s_.substr(i_, 2) == "</") {
                i_ += 2;
                const auto end = Name();
                if (!end || *end != node.name || i_ >= s_.size() || s_[i_] != '>')
                    return Fail(why, "element <" + node.name + "> is closed by another tag");
                ++i_;
                break;
            }
            if (s_.substr(i_, 1) == "<" && (i_ + 1 >= s_.size() || !NameStart(s_[i_ + 1])))
                return Fail(why, "\"<\" inside a value");
            auto child = ElementAt(why);
            if (!child) return std::nullopt;
            node.children.push_back(std::move(*child));
        }
        if (!node.children.empty() && node.text.find_first_not_of(" \t\r\n") != std::string::npos)
            return Fail(why, "text beside the elements of <" + node.name + ">");
        if (!node.children.empty()) node.text.clear();
        return node;
    }

    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

const Node* Node::Child(std::string_view childName) const {
    for (const Node& c : children)
        if (c.name == childName) return &c;
    return nullptr;
}

std::vector<const Node*> Node::Children(std::string_view childName) const {
    std::vector<const Node*> out;
    for (const Node& c : children)
        if (c.name == childName) out.push_back(&c);
    return out;
}

std::string Node::ChildText(std::string_view childName) const {
    const Node* c = Child(childName);
    return c ? c->text : std::string();
}

const std::string* Node::Attribute(std::string_view attributeName) const {
    for (const auto& [k, v] : attributes)
        if (k == attributeName) return &v;
    return nullptr;
}

std::optional<Node> Parse(std::string_view doc, std::string& why) {
    why.clear();
    Reader r(doc);
    auto node = r.Document(why);
    if (!node && why.empty()) why = "malformed document";
    return node;
}

std::optional<std::string> Check(const Node& node, const std::vector<Rule>& rules) {
    if (!node.text.empty() && !node.children.empty())
        return "text beside the elements of " + node.name;
    std::vector<int> seen(rules.size(), 0);
    for (const Node& c : node.children) {
        std::size_t k = 0;
        while (k < rules.size() && rules[k].name != c.name) ++k;
        if (k == rules.size()) return "unknown element " + c.name + " in " + node.name;
        if (++seen[k] > 1 && !rules[k].repeats) return "repeated element " + c.name;
        if (rules[k].children) {
            if (auto problem = Check(c, *rules[k].children)) return problem;
        } else if (!c.children.empty()) {
            return "element " + c.name + " holds elements";
        }
        if (!c.attributes.empty()) return "unknown attribute in " + c.name;
    }
    for (std::size_t k = 0; k < rules.size(); ++k)
        if (rules[k].required && seen[k] == 0)
            return "missing element " + std::string(rules[k].name) + " in " + node.name;
    return std::nullopt;
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

bool ValidDate(int year, int month, int day) {
    if (year < 1970 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace sandbox::xml
