#pragma once
// Form parameters of the interfaces that take plain "name=value" pairs in the query.
#include <string>
#include <string_view>
#include <vector>

namespace pw {

// A value as it goes after "name=": unchanged, except that every byte that would change the
// query ("&", "=", "#", "+", "%", blanks, control bytes and bytes above 0x7E) becomes %XX
// (upper-case hex). An ordinary value travels exactly as typed.
std::string QueryValue(std::string_view value);

// The forms a secret can take in a text that echoes a request: as typed, as sent in a query
// (form value and percent-encoded) and XML-escaped. Empty secrets give nothing.
std::vector<std::string> SecretForms(const std::string& secret);

}  // namespace pw
