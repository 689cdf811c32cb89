#include "crypto/cipher.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/provider.h>

#include <cstdlib>
#include <memory>
#include <mutex>

namespace pw {
namespace {

// A library context of our own with the default and legacy providers, so RC2 is available
// without touching the process-wide configuration.
struct CryptoContext {
    OSSL_LIB_CTX* ctx = nullptr;
    EVP_CIPHER* rc2 = nullptr;
    EVP_MD* md5 = nullptr;
    EVP_MD* sha256 = nullptr;
    OSSL_PROVIDER* defaultProvider = nullptr;
    OSSL_PROVIDER* legacyProvider = nullptr;

    CryptoContext() {
        ctx = OSSL_LIB_CTX_new();
        if (!ctx) return;
        defaultProvider = OSSL_PROVIDER_load(ctx, "default");
        legacyProvider = OSSL_PROVIDER_load(ctx, "legacy");
        rc2 = EVP_CIPHER_fetch(ctx, "RC2-CBC", nullptr);
        md5 = EVP_MD_fetch(ctx, "MD5", nullptr);
        sha256 = EVP_MD_fetch(ctx, "SHA256", nullptr);
    }
    ~CryptoContext() {
        EVP_CIPHER_free(rc2);
        EVP_MD_free(md5);
        EVP_MD_free(sha256);
        if (legacyProvider) OSSL_PROVIDER_unload(legacyProvider);
        if (defaultProvider) OSSL_PROVIDER_unload(defaultProvider);
        OSSL_LIB_CTX_free(ctx);
    }
};

CryptoContext& Context() {
    static CryptoContext context;
    return context;
}

bool Digest(const EVP_MD* md, std::string_view text, unsigned char* out, unsigned* len) {
    if (!md) return false;
    return EVP_Digest(text.data(), text.size(), out, len, md, nullptr) == 1;
}

using CipherCtx = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

// The provider derives a 128-bit RC2 key from the MD5 digest of the key text, with 128
// effective bits, a zero IV and PKCS#5 padding.
CipherCtx MakeCipher(const std::string& keyText, bool encrypt) {
    CipherCtx c(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
    CryptoContext& cc = Context();
    if (!c || !cc.rc2) return CipherCtx(nullptr, &EVP_CIPHER_CTX_free);
    const std::string key = keyText.empty() ? std::string(" ") : keyText;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned len = 0;
    if (!Digest(cc.md5, key, digest, &len) || len != 16) return CipherCtx(nullptr, &EVP_CIPHER_CTX_free);
    const unsigned char iv[8] = {0};
    unsigned int keyBits = 128;
    size_t keyLen = 16;
    OSSL_PARAM params[] = {OSSL_PARAM_construct_size_t(OSSL_CIPHER_PARAM_KEYLEN, &keyLen),
                           OSSL_PARAM_construct_uint(OSSL_CIPHER_PARAM_RC2_KEYBITS, &keyBits),
                           OSSL_PARAM_construct_end()};
    if (EVP_CipherInit_ex2(c.get(), cc.rc2, nullptr, nullptr, encrypt ? 1 : 0, params) != 1 ||
        EVP_CipherInit_ex2(c.get(), nullptr, digest, iv, encrypt ? 1 : 0, nullptr) != 1) {
        return CipherCtx(nullptr, &EVP_CIPHER_CTX_free);
    }
    // Padding is checked by hand on the last piece so that earlier pieces can be handed out
    // whole, as the provider does.
    if (!encrypt) EVP_CIPHER_CTX_set_padding(c.get(), 0);
    return c;
}

unsigned char PairValue(char a, char b) {
    const char pair[3] = {a, b, '\0'};
    return static_cast<unsigned char>(std::strtol(pair, nullptr, 16));
}

}  // namespace

std::string MissingCipherComponent() {
    CryptoContext& cc = Context();
    if (!cc.ctx) return "the OpenSSL library context";
    if (!cc.legacyProvider || !cc.rc2) return "the OpenSSL legacy provider (RC2 cipher)";
    if (!cc.defaultProvider || !cc.md5 || !cc.sha256) return "the OpenSSL default provider";
    return std::string();
}

std::string HexUpper(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

bool Encipher(const std::string& plain, const std::string& key, std::string& out) {
    out.clear();
    if (plain.empty() || plain.size() > kMaxPlainBytes) return false;
    CipherCtx c = MakeCipher(key, true);
    if (!c) return false;
    std::string buf(plain.size() + 16, '\0');
    int n1 = 0, n2 = 0;
    auto* p = reinterpret_cast<unsigned char*>(buf.data());
    if (EVP_EncryptUpdate(c.get(), p, &n1, reinterpret_cast<const unsigned char*>(plain.data()),
                          static_cast<int>(plain.size())) != 1 ||
        EVP_EncryptFinal_ex(c.get(), p + n1, &n2) != 1) {
        return false;
    }
    buf.resize(static_cast<std::size_t>(n1 + n2));
    out = HexUpper(buf);
    return true;
}

bool Decipher(const std::string& hex, const std::string& key, std::string& out) {
    out.clear();
    if (hex.empty()) return false;
    CipherCtx c = MakeCipher(key, false);
    if (!c) return false;
    // The plain text is a secret: out never outgrows its first buffer, and each piece's
    // buffer is overwritten before it is freed.
    out.reserve(hex.size() / 2);
    std::size_t pos = 0;
    while (hex.size() - pos >= 2) {
        std::size_t bytes = (hex.size() - pos) / 2;
        if (bytes > 512) bytes = 512;
        std::string piece(bytes, '\0');
        for (std::size_t i = 0; i < bytes; ++i) {
            piece[i] = static_cast<char>(PairValue(hex[pos + 2 * i], hex[pos + 2 * i + 1]));
        }
        pos += bytes * 2;
        const bool final = hex.size() - pos < 2;
        if (bytes % 8 != 0) return false;
        std::string plain(bytes, '\0');
        const struct PieceWiper {
            std::string& text;
            ~PieceWiper() { OPENSSL_cleanse(text.data(), text.capacity()); }
        } wipePiece{plain};
        int n = 0;
        if (EVP_DecryptUpdate(c.get(), reinterpret_cast<unsigned char*>(plain.data()), &n,
                              reinterpret_cast<const unsigned char*>(piece.data()),
                              static_cast<int>(bytes)) != 1) {
            return false;
        }
        plain.resize(static_cast<std::size_t>(n));
        if (final) {
            // PKCS#5: the last byte names the pad length (1..8), every pad byte carries it.
            if (plain.empty()) return false;
            const unsigned char padLen = static_cast<unsigned char>(plain.back());
            if (padLen < 1 || padLen > 8 || padLen > plain.size()) return false;
            for (std::size_t i = plain.size() - padLen; i < plain.size(); ++i) {
                if (static_cast<unsigned char>(plain[i]) != padLen) return false;
            }
            plain.resize(plain.size() - padLen);
        }
        out += plain;
    }
    return true;
}

std::string PasswordHash(std::string_view text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned len = 0;
    if (!Digest(Context().sha256, text, digest, &len)) return std::string();
    return HexUpper(std::string(reinterpret_cast<char*>(digest), len));
}

std::string Md5HexLower(std::string_view text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned len = 0;
    if (!Digest(Context().md5, text, digest, &len)) return std::string();
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * len);  // a digest of a password leaves no grown-out part behind
    for (unsigned i = 0; i < len; ++i) {
        out.push_back(digits[digest[i] >> 4]);
        out.push_back(digits[digest[i] & 15]);
    }
    return out;
}

}  // namespace pw
