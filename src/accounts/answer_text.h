#pragma once
// Values taken from an answer on their way into a row. A row joins its fields with "~" and
// nothing escapes it, so a "~" sent by a server (in a memo, a name, an account) would split
// the row: every parser puts server text into its rows through these functions, which write
// it as "-". The XML interfaces (Liberty Reserve, V-Money) send their values escaped; those
// are decoded here, once.
#include <string>
#include <string_view>

#include "accounts/byte_scan.h"

namespace pw {

// Appends value to row with every "~" written as "-".
void AppendRowField(std::string& row, std::string_view value);
// Writes every "~" of the n bytes at p (a value already copied into a row) as "-".
inline void DashTildes(char* p, std::size_t n) {
    for (std::size_t at; (at = scan::Find(p, n, '~')) < n; n -= at + 1) {
        p[at] = '-';
        p += at + 1;
    }
}
// The value with every "~" written as "-".
std::string RowField(std::string_view value);

// The text of an XML value: the five predefined entities (&amp; &lt; &gt; &quot; &apos;) and
// numeric character references (&#233; &#xE9;, written as UTF-8) are decoded; an unknown or
// malformed reference and a lone "&" stay as they are.
std::string DecodeXmlText(std::string_view value);
// Appends the decoded value to row, every "~" (also one that was &#126;) written as "-".
void AppendXmlField(std::string& row, std::string_view value);

}  // namespace pw
