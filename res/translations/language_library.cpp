// A language library: its display name and the compiled translation it carries. The data
// (kDisplayName, kTranslation) is generated at build time from the language's .ts files.
#include <algorithm>
#include <cstring>

#include "language_data.inc"

extern "C" {

__attribute__((visibility("default"))) void GetLanguageOfDll(char* buffer, int size) {
    if (!buffer || size <= 0) return;
    const std::size_t room = static_cast<std::size_t>(size) - 1;
    const std::size_t length = std::min(std::strlen(kDisplayName), room);
    std::memcpy(buffer, kDisplayName, length);
    buffer[length] = '\0';
}

__attribute__((visibility("default"))) const unsigned char* GetTranslationOfDll(int* size) {
    if (size) *size = static_cast<int>(sizeof kTranslation);
    return kTranslation;
}
}
