#pragma once
// A small, tolerant reader of the request documents the Liberty Reserve interface receives:
// the inner text of elements found by name, and the five predefined entities.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sandbox::lrxml {

// The text between the first <name> and the next </name>; nullopt when either is missing.
std::optional<std::string_view> Inner(std::string_view xml, std::string_view name);
// Inner texts of every <name>...</name> in order (a last one without closing tag is ignored).
std::vector<std::string_view> All(std::string_view xml, std::string_view name);
// The value of attribute attr of the first element named root; nullopt when missing.
std::optional<std::string_view> Attribute(std::string_view xml, std::string_view root,
                                          std::string_view attr);
// &amp; &lt; &gt; &quot; &apos; to their characters; other text unchanged.
std::string Unescape(std::string_view text);
// The reverse, for the answers.
std::string Escape(std::string_view text);
// <name>escaped value</name>
std::string Element(std::string_view name, std::string_view value);

}  // namespace sandbox::lrxml
