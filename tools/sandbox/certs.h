#pragma once
// The certificates of the sandbox. All of them are issued by one local authority whose
// certificate ("ca.pem" in the state folder) a client can be told to trust.
#include <memory>
#include <string>

#include <openssl/evp.h>
#include <openssl/x509.h>

namespace sandbox {

struct KeyFree {
    void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct CertFree {
    void operator()(X509* c) const { X509_free(c); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyFree>;
using CertPtr = std::unique_ptr<X509, CertFree>;

struct CertSet {
    KeyPtr caKey;
    CertPtr ca;          // the authority, self-signed
    KeyPtr serverKey;    // one key for the three server certificates
    CertPtr good;        // 127.0.0.1 and localhost, valid now
    CertPtr expired;     // 127.0.0.1 and localhost, validity ended yesterday
    CertPtr wrongHost;   // wrong.example only, valid now
};

// Reads the certificates from dir, or creates them there on the first start:
// ca.pem, ca-key.pem, server-key.pem, server.pem, expired.pem, wronghost.pem.
// Throws std::runtime_error with a readable text when the folder cannot be used.
CertSet LoadOrCreateCerts(const std::string& dir);

}  // namespace sandbox
