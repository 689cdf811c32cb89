// A language library for the tests, built in several flavours from this one file.
#include <cstring>

extern "C" {

#if defined(PW_LANG_NAME)
__attribute__((visibility("default"))) void GetLanguageOfDll(char* buffer, int size) {
    std::strncpy(buffer, PW_LANG_NAME, static_cast<std::size_t>(size));
}
#elif defined(PW_LANG_FILL)
// Fills the whole buffer and leaves no terminator.
__attribute__((visibility("default"))) void GetLanguageOfDll(char* buffer, int size) {
    std::memset(buffer, 'x', static_cast<std::size_t>(size));
}
#else
// No name export: only something else.
__attribute__((visibility("default"))) int SomethingElse() { return 1; }
#endif

#if defined(PW_LANG_QM)
// A compiled Qt translation, made from data/test_language.ts at build time.
#include "test_language_qm.inc"
#elif defined(PW_LANG_TRANSLATION)
static const unsigned char kTranslation[] = {0x3c, 0xb8, 0x64, 0x18, 0xca, 0xef, 0x9c,
                                             0x95, 0xcd, 0x21, 0x1c, 0xbf, 0x60, 0xa1};
#endif
#if defined(PW_LANG_QM) || defined(PW_LANG_TRANSLATION)
__attribute__((visibility("default"))) const unsigned char* GetTranslationOfDll(int* size) {
    *size = static_cast<int>(sizeof kTranslation);
    return kTranslation;
}
#endif
}
