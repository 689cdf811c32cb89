#pragma once
// Keeps secrets out of texts shown to the user: request URLs carry credentials in their query.
#include <string>
#include <vector>

namespace pw {

// Replaces every occurrence of each non-empty secret in text by "***", longest first.
std::string ScrubSecrets(std::string text, std::vector<std::string> secrets);

}  // namespace pw
