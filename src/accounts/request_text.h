#pragma once
// Pieces shared by the request builders of the XML interfaces (Liberty Reserve, V-Money):
// escaping of field values, percent-encoding of the document into the query, clock texts.
// The texts of a request may hold credentials: they are built in SecureString.
#include <ctime>
#include <string>
#include <string_view>

#include "crypto/secure_string.h"

namespace pw {

// & < > " ' as the five predefined entities; everything else unchanged.
SecureString XmlEscape(std::string_view text);
// RFC 3986: A-Z a-z 0-9 - . _ ~ stay, every other byte becomes %XX (upper-case hex).
SecureString PercentEncode(std::string_view text);
// "<name>escaped value</name>"
SecureString XmlElement(std::string_view name, std::string_view value);

// strftime of now in UTC / in local time.
std::string UtcText(const char* format, std::time_t now);
std::string LocalText(const char* format, std::time_t now);

}  // namespace pw
