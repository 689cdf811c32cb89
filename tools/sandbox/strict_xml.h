#pragma once
// A small, strict reader of the request documents the sandbox's XML interfaces receive, so
// that they refuse what a real server refuses: exactly one root element and nothing around
// it, every element closed in order, names of letters, digits and "_.-", attributes as
// name="value", values whose "&" starts one of the five predefined entities or a character
// reference and that hold no "<". No declarations, comments or CDATA (the programs send none).
// Plus a schema check: which children an element may have, which are required, which repeat.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sandbox::xml {

struct Node {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;  // unescaped values
    std::string text;                                             // unescaped
    std::vector<Node> children;

    const Node* Child(std::string_view childName) const;
    std::vector<const Node*> Children(std::string_view childName) const;
    // The text of the first child of that name; empty when there is none.
    std::string ChildText(std::string_view childName) const;
    const std::string* Attribute(std::string_view attributeName) const;
};

// The root element of doc, or nullopt with the reason in why.
std::optional<Node> Parse(std::string_view doc, std::string& why);

// One allowed child: a leaf (text only) when children is null.
struct Rule {
    std::string_view name;
    bool required = false;
    bool repeats = false;
    const std::vector<Rule>* children = nullptr;
};
// Checks node's children against rules, recursively: no unknown or misplaced element, no
// missing required one, no repeated single one, no text beside children, no children in a
// leaf. The first problem, or nullopt.
std::optional<std::string> Check(const Node& node, const std::vector<Rule>& rules);

// The five predefined entities, for the answers.
std::string Escape(std::string_view text);
// <name>escaped value</name>
std::string Element(std::string_view name, std::string_view value);

// A calendar date that exists (31 February does not), year 1970 to 9999.
bool ValidDate(int year, int month, int day);

}  // namespace sandbox::xml
