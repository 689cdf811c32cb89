#include "certs.h"

#include <filesystem>
#include <stdexcept>

#include <openssl/bio.h>
#include <openssl/bn.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>

namespace sandbox {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what) {
    char buf[256] = {0};
    ERR_error_string_n(ERR_get_error(), buf, sizeof buf);
    throw std::runtime_error(what + ": " + buf);
}

struct BioFree {
    void operator()(BIO* b) const { BIO_free(b); }
};
using BioPtr = std::unique_ptr<BIO, BioFree>;

KeyPtr NewKey() {
    KeyPtr key(EVP_EC_gen("P-256"));
    if (!key) Fail("cannot create a key");
    return key;
}

void AddExt(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    if (!ext) Fail("cannot build a certificate extension");
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

struct Validity {
    long fromDays;
    long toDays;
};

// A certificate for key, signed by signKey; issuer null means self-signed.
CertPtr MakeCert(EVP_PKEY* key, const std::string& cn, X509* issuer, EVP_PKEY* signKey,
                 Validity validity, const char* san) {
    CertPtr cert(X509_new());
    if (!cert) Fail("cannot create a certificate");
    X509_set_version(cert.get(), 2);

    unsigned char serial[16];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7f;
    BIGNUM* bn = BN_bin2bn(serial, sizeof serial, nullptr);
    BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert.get()));
    BN_free(bn);

    X509_time_adj_ex(X509_getm_notBefore(cert.get()), static_cast<int>(validity.fromDays), 0,
                     nullptr);
    X509_time_adj_ex(X509_getm_notAfter(cert.get()), static_cast<int>(validity.toDays), 0,
                     nullptr);
    X509_set_pubkey(cert.get(), key);

    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Purseward sandbox"), -1,
                               -1, 0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(cn.c_str()), -1, -1, 0);
    X509* issuerCert = issuer ? issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(issuerCert));

    AddExt(cert.get(), issuerCert, NID_subject_key_identifier, "hash");
    if (issuer) {
        AddExt(cert.get(), issuerCert, NID_authority_key_identifier, "keyid:always");
        AddExt(cert.get(), issuerCert, NID_basic_constraints, "critical,CA:FALSE");
        AddExt(cert.get(), issuerCert, NID_key_usage, "critical,digitalSignature");
        AddExt(cert.get(), issuerCert, NID_ext_key_usage, "serverAuth");
        AddExt(cert.get(), issuerCert, NID_subject_alt_name, san);
    } else {
        AddExt(cert.get(), issuerCert, NID_basic_constraints, "critical,CA:TRUE");
        AddExt(cert.get(), issuerCert, NID_key_usage, "critical,keyCertSign,cRLSign");
    }
    if (X509_sign(cert.get(), signKey, EVP_sha256()) <= 0) Fail("cannot sign a certificate");
    return cert;
}

void WriteCert(const fs::path& path, X509* cert) {
    BioPtr bio(BIO_new_file(path.c_str(), "w"));
    if (!bio || PEM_write_bio_X509(bio.get(), cert) != 1) Fail("cannot write " + path.string());
}

void WriteKey(const fs::path& path, EVP_PKEY* key) {
    BioPtr bio(BIO_new_file(path.c_str(), "w"));
    if (!bio || PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1)
        Fail("cannot write " + path.string());
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
}

CertPtr ReadCert(const fs::path& path) {
    BioPtr bio(BIO_new_file(path.c_str(), "r"));
    CertPtr cert(bio ? PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr) : nullptr);
    if (!cert) Fail("cannot read " + path.string());
    return cert;
}

KeyPtr ReadKey(const fs::path& path) {
    BioPtr bio(BIO_new_file(path.c_str(), "r"));
    KeyPtr key(bio ? PEM_read_bio_PrivateKey(bio.get(), nullptr, nullptr, nullptr) : nullptr);
    if (!key) Fail("cannot read " + path.string());
    return key;
}

const char* const kFiles[] = {"ca.pem", "ca-key.pem", "server-key.pem",
                              "server.pem", "expired.pem", "wronghost.pem"};

}  // namespace

CertSet LoadOrCreateCerts(const std::string& dirText) {
    const fs::path dir(dirText);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir)) throw std::runtime_error("cannot create folder " + dirText);

    bool complete = true;
    for (const char* f : kFiles) complete = complete && fs::exists(dir / f);

    CertSet set;
    if (complete) {
        set.ca = ReadCert(dir / "ca.pem");
        set.caKey = ReadKey(dir / "ca-key.pem");
        set.serverKey = ReadKey(dir / "server-key.pem");
        set.good = ReadCert(dir / "server.pem");
        set.expired = ReadCert(dir / "expired.pem");
        set.wrongHost = ReadCert(dir / "wronghost.pem");
        return set;
    }

    set.caKey = NewKey();
    set.ca = MakeCert(set.caKey.get(), "Purseward sandbox authority", nullptr, set.caKey.get(),
                      {-1, 3650}, nullptr);
    set.serverKey = NewKey();
    const char* localSan = "IP:127.0.0.1,DNS:localhost";
    set.good = MakeCert(set.serverKey.get(), "127.0.0.1", set.ca.get(), set.caKey.get(),
                        {-1, 3650}, localSan);
    set.expired = MakeCert(set.serverKey.get(), "127.0.0.1", set.ca.get(), set.caKey.get(),
                           {-30, -1}, localSan);
    set.wrongHost = MakeCert(set.serverKey.get(), "wrong.example", set.ca.get(), set.caKey.get(),
                             {-1, 3650}, "DNS:wrong.example");

    WriteKey(dir / "ca-key.pem", set.caKey.get());
    WriteKey(dir / "server-key.pem", set.serverKey.get());
    WriteCert(dir / "server.pem", set.good.get());
    WriteCert(dir / "expired.pem", set.expired.get());
    WriteCert(dir / "wronghost.pem", set.wrongHost.get());
    WriteCert(dir / "ca.pem", set.ca.get());  // last: its presence marks a complete set
    return set;
}

}  // namespace sandbox
