#pragma once
// Credential cipher: RC2-CBC under a key derived from the MD5 digest of a key text,
// reproducing the defaults of the Windows "Strong" provider byte for byte, so that files
// written by the Windows program stay readable. Cipher text is upper-case hex.
#include <string>
#include <string_view>

namespace pw {

// Largest plain text that fits the 512-byte output buffer of the original program.
inline constexpr std::size_t kMaxPlainBytes = 504;

// Enciphers plain under key (an empty key acts as " "). An empty or too long plain text
// fails. On failure out is empty.
bool Encipher(const std::string& plain, const std::string& key, std::string& out);

// Deciphers hex cipher text under key. Pairs that are not hex read as strtol(pair, 16)
// does; a trailing odd digit is ignored. On failure out is empty (or, for cipher texts
// longer than 512 bytes, what the earlier 512-byte pieces yielded).
bool Decipher(const std::string& hex, const std::string& key, std::string& out);

// What of the crypto library could not be loaded ("the OpenSSL legacy provider (RC2)", ...),
// or empty when the cipher works. Without it no secret can be read or written: the program
// must not start.
std::string MissingCipherComponent();

// SHA-256 of the bytes of text as 64 upper-case hex digits.
std::string PasswordHash(std::string_view text);

// MD5 of the bytes of text as 32 lower-case hex digits.
std::string Md5HexLower(std::string_view text);

// Upper-case hex of bytes, two digits per byte.
std::string HexUpper(const std::string& bytes);

}  // namespace pw
