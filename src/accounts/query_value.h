#pragma once
// Form parameters of the interfaces that take plain "name=value" pairs in the query. The
// values may be credentials: they are built in SecureString.
#include <string_view>
#include <vector>

#include "crypto/secure_string.h"

namespace pw {

// A value as it goes after "name=": unchanged, except that every byte that would change the
// query ("&", "=", "#", "+", "%", blanks, control bytes and bytes above 0x7E) becomes %XX
// (upper-case hex). An ordinary value travels exactly as typed.
SecureString QueryValue(std::string_view value);

// The forms a secret can take in a text that echoes a request: as typed, as sent in a query
// (form value and percent-encoded) and XML-escaped. Empty secrets give nothing.
std::vector<SecureString> SecretForms(std::string_view secret);

}  // namespace pw
