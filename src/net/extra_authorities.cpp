#include "net/extra_authorities.h"

#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

namespace pw {

void ExtraAuthorities::Free::operator()(X509* cert) const { X509_free(cert); }

bool ExtraAuthorities::Load(const std::string& path, std::string& error) {
    certs_.clear();
    BIO* bio = BIO_new_file(path.c_str(), "r");
    if (!bio) {
        ERR_clear_error();
        error = "Cannot read the certificate file " + path;
        return false;
    }
    STACK_OF(X509_INFO)* infos = PEM_X509_INFO_read_bio(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    if (infos) {
        for (int i = 0; i < sk_X509_INFO_num(infos); ++i) {
            X509_INFO* info = sk_X509_INFO_value(infos, i);
            if (info->x509) {
                X509_up_ref(info->x509);
                certs_.emplace_back(info->x509);
            }
        }
        sk_X509_INFO_pop_free(infos, X509_INFO_free);
    }
    ERR_clear_error();
    if (certs_.empty()) {
        error = "No certificate in the certificate file " + path;
        return false;
    }
    return true;
}

void ExtraAuthorities::AddTo(X509_STORE* store) const {
    for (const auto& cert : certs_) X509_STORE_add_cert(store, cert.get());  // a duplicate is ignored
    ERR_clear_error();
}

void ExtraAuthorities::AddToContext(void* sslContext) const {
    AddTo(SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslContext)));
}

}  // namespace pw
