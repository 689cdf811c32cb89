#pragma once
// Certificate authorities trusted in addition to the system's own, read from a PEM file.
#include <memory>
#include <string>
#include <vector>

typedef struct x509_st X509;
typedef struct x509_store_st X509_STORE;

namespace pw {

class ExtraAuthorities {
public:
    // Reads every certificate of the PEM file at path (other blocks, such as keys, are
    // skipped). False, with a reason in error, when the file cannot be read or holds no
    // certificate.
    bool Load(const std::string& path, std::string& error);
    size_t Count() const { return certs_.size(); }
    // Adds the certificates to a verification store that already holds the system's.
    void AddTo(X509_STORE* store) const;
    // The same for the store of an OpenSSL SSL_CTX (as handed to an SSL context callback).
    void AddToContext(void* sslContext) const;

private:
    struct Free {
        void operator()(X509* cert) const;
    };
    std::vector<std::unique_ptr<X509, Free>> certs_;
};

}  // namespace pw
