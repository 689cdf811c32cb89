#pragma once
// Keeps secrets out of texts shown to the user: request URLs carry credentials in their query.
#include <string>
#include <vector>

#include "crypto/secure_string.h"

namespace pw {

// Replaces every occurrence of each non-empty secret in text by "***", longest first.
// The secrets are wiped when the call ends.
std::string ScrubSecrets(std::string text, std::vector<SecureString> secrets);

}  // namespace pw
