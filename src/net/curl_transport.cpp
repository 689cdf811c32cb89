#include "net/curl_transport.h"

#include <curl/curl.h>
#include <malloc.h>
#include <openssl/crypto.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include "crypto/secure_string.h"
#include "net/extra_authorities.h"
#include "net/scrub.h"
#include "settings/keys.h"
#include "ui/base/strings.h"
#include "ui/base/tr.h"

namespace pw {
namespace {

constexpr char kParseError[] = "AfxParseURL Error";
constexpr char kErrorMarker[] = "-=Error=- : ";

struct EasyFree {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct UrlFree {
    void operator()(CURLU* u) const { curl_url_cleanup(u); }
};
using EasyPtr = std::unique_ptr<CURL, EasyFree>;
using UrlPtr = std::unique_ptr<CURLU, UrlFree>;

// The network library's memory: the request line with the URL's credentials, the parsed URL
// and the proxy password pass through it, so every block it frees is overwritten first.
void WipeAndFree(void* p) {
    if (!p) return;
    OPENSSL_cleanse(p, ::malloc_usable_size(p));
    std::free(p);
}
void* WipingRealloc(void* p, size_t size) {
    if (!p) return std::malloc(size);
    if (size == 0) {
        WipeAndFree(p);
        return nullptr;
    }
    void* grown = std::malloc(size);
    if (!grown) return nullptr;  // the old block stays, as realloc leaves it
    std::memcpy(grown, p, std::min(size, ::malloc_usable_size(p)));
    WipeAndFree(p);
    return grown;
}
char* WipingStrdup(const char* text) {
    const size_t n = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(std::malloc(n));
    if (copy) std::memcpy(copy, text, n);
    return copy;
}
void* PlainMalloc(size_t size) { return std::malloc(size); }
void* PlainCalloc(size_t count, size_t size) { return std::calloc(count, size); }

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] {
        curl_global_init_mem(CURL_GLOBAL_DEFAULT, PlainMalloc, WipeAndFree, WipingRealloc,
                             WipingStrdup, PlainCalloc);
    });
}

SecureString UrlPart(CURLU* u, CURLUPart part, unsigned flags = 0) {
    char* text = nullptr;
    SecureString out;
    if (curl_url_get(u, part, &text, flags) == CURLUE_OK && text) out = text;
    curl_free(text);
    return out;
}

// Only what may stand in a request line as it is: printable ASCII without blanks; a fragment
// never goes on the wire.
bool WireSafe(const SecureString& url) {
    for (const char c : url)
        if (c <= ' ' || c >= 0x7F || c == '#') return false;
    return true;
}

// Parses "scheme://server[:port]/object?query". The scheme is replaced by the one the
// operation uses (https or http), so the port defaults to 443 or 80 unless the URL names one;
// credentials in the server part are dropped. The object and query go out exactly as given
// (nothing encoded, no "." or ".." segments resolved). Null when the URL cannot be parsed or
// cannot go on the wire unchanged.
UrlPtr ParseUrl(const SecureString& url, bool secure) {
    const size_t sep = url.find("://");
    if (sep == std::string::npos || sep == 0 || sep + 3 >= url.size() || url[sep + 3] == '/')
        return nullptr;
    if (!WireSafe(url)) return nullptr;
    UrlPtr u(curl_url());
    if (!u) return nullptr;
    if (curl_url_set(u.get(), CURLUPART_URL, url.c_str(),
                     CURLU_NON_SUPPORT_SCHEME | CURLU_PATH_AS_IS) != CURLUE_OK)
        return nullptr;
    // The request target curl will send must be the one the URL holds.
    const size_t objectStart = url.find_first_of("/?", sep + 3);
    SecureString object = objectStart == std::string::npos
                              ? SecureString("/")
                              : SecureString(std::string_view(url).substr(objectStart));
    if (object.front() == '?') object.insert(0, "/");
    const SecureString query = UrlPart(u.get(), CURLUPART_QUERY);
    SecureString target = UrlPart(u.get(), CURLUPART_PATH);
    if (!query.empty() || object.find('?') != SecureString::npos) {
        target += '?';
        target += query;
    }
    if (target != object) return nullptr;
    char* host = nullptr;
    const bool hasHost = curl_url_get(u.get(), CURLUPART_HOST, &host, 0) == CURLUE_OK && host &&
                         *host != '\0';
    curl_free(host);
    if (!hasHost) return nullptr;
    if (curl_url_set(u.get(), CURLUPART_SCHEME, secure ? "https" : "http", 0) != CURLUE_OK ||
        curl_url_set(u.get(), CURLUPART_USER, nullptr, 0) != CURLUE_OK ||
        curl_url_set(u.get(), CURLUPART_PASSWORD, nullptr, 0) != CURLUE_OK ||
        curl_url_set(u.get(), CURLUPART_FRAGMENT, nullptr, 0) != CURLUE_OK)
        return nullptr;
    return u;
}

// What one call collects while curl runs.
struct Call {
    CURL* easy = nullptr;
    bool secure = false;
    std::chrono::seconds idle{0};
    std::chrono::steady_clock::time_point lastActivity;
    bool connected = false;
    bool idleExpired = false;
    TrafficCounter* counter = nullptr;
    TransferControl* control = nullptr;  // null: the call cannot be cancelled
    float urlLength = 0;
    bool sentCounted = false;
    size_t limit = 0;
    bool tooLarge = false;
    SecureString body;
};

// The first header line of an answer means the request has gone out: count it once.
size_t OnHeader(char*, size_t size, size_t count, void* user) {
    auto* call = static_cast<Call*>(user);
    call->lastActivity = std::chrono::steady_clock::now();
    if (!call->sentCounted) {
        call->sentCounted = true;
        AddTraffic(*call->counter, call->urlLength, 0);
    }
    return size * count;
}

// Only the body of a 200 answer is kept and counted; others are drained unseen.
size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* call = static_cast<Call*>(user);
    const size_t n = size * count;
    call->lastActivity = std::chrono::steady_clock::now();
    if (call->control) call->control->AddReceived(n);
    long code = 0;
    curl_easy_getinfo(call->easy, CURLINFO_RESPONSE_CODE, &code);
    if (code != 200) return n;
    if (n > call->limit - call->body.size()) {
        call->tooLarge = true;
        return CURL_WRITEFUNC_ERROR;
    }
    AddTraffic(*call->counter, 0, static_cast<float>(n));
    call->body.append(data, n);
    return n;
}

// Aborts a transfer that has received nothing for the idle time once the connection stands
// (the connection itself has the connect time-out). The library's low-speed check is not used:
// it would also abort a transfer that keeps receiving, only slowly. The idle time runs from the first progress
// report that sees the connection made.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* call = static_cast<Call*>(user);
    if (call->control && call->control->Cancelled()) return 1;
    const auto now = std::chrono::steady_clock::now();
    if (!call->connected) {
        curl_off_t since = 0;
        curl_easy_getinfo(call->easy,
                          call->secure ? CURLINFO_APPCONNECT_TIME_T : CURLINFO_CONNECT_TIME_T,
                          &since);
        if (since != 0) call->connected = true;
        call->lastActivity = now;
        return 0;
    }
    if (now - call->lastActivity >= call->idle) {
        call->idleExpired = true;
        return 1;
    }
    return 0;
}

CURLcode OnSslContext(CURL*, void* sslContext, void* user) {
    auto* extra = static_cast<const ExtraAuthorities*>(user);
    extra->AddToContext(sslContext);
    return CURLE_OK;
}

struct MultiFree {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};

// Runs the transfer. With a control, the wait for the network is one the control's Cancel
// interrupts at once; without one, the library's own loop runs it.
CURLcode Perform(CURL* easy, TransferControl* control) {
    if (!control) return curl_easy_perform(easy);
    if (control->Cancelled()) return CURLE_ABORTED_BY_CALLBACK;
    std::unique_ptr<CURLM, MultiFree> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_FAILED_INIT;
    CURLM* m = multi.get();
    control->SetWakeup([m] { curl_multi_wakeup(m); });
    CURLcode result = CURLE_ABORTED_BY_CALLBACK;
    int running = 1;
    while (!control->Cancelled()) {
        if (curl_multi_perform(m, &running) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
        int left = 0;
        bool done = false;
        while (CURLMsg* msg = curl_multi_info_read(m, &left)) {
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) {
                result = msg->data.result;
                done = true;
            }
        }
        if (done || running == 0) break;
        // At most a second between rounds, so the idle check keeps running.
        if (curl_multi_poll(m, nullptr, 0, 1000, nullptr) != CURLM_OK) {
            result = CURLE_FAILED_INIT;
            break;
        }
    }
    control->SetWakeup(nullptr);
    curl_multi_remove_handle(m, easy);
    return result;
}

template <typename T>
bool Set(CURL* h, CURLoption option, T value) {
    return curl_easy_setopt(h, option, value) == CURLE_OK;
}

}  // namespace

CurlTransport::CurlTransport(const SettingsStore& settings, TrafficCounter& counter,
                             TransportHooks hooks, TransportTimeouts timeouts)
    : settings_(settings), counter_(counter), hooks_(std::move(hooks)), timeouts_(timeouts) {
    GlobalInit();
}

std::string CurlTransport::HttpsGet(const SecureString& url) { return Get(url, true, nullptr); }

std::string CurlTransport::HttpGet(const SecureString& url) { return Get(url, false, nullptr); }

std::string CurlTransport::Fetch(const SecureString& url, bool secure, TransferControl& control) {
    return Get(url, secure, &control);
}

Exchanged CurlTransport::Exchange(const SecureString& url, bool secure, TransferControl* control) {
    Exchanged r = Run(url, secure, control);
    if (r.outcome != Outcome::Answered && r.status != 200) r.body.clear();
    return r;
}

// The plain calls: a failure is told to the user (HttpsGet) or returned as the error text
// (HttpGet); an answer with another status than 200 is an empty body without a message.
std::string CurlTransport::Get(const SecureString& url, bool secure, TransferControl* control) {
    Exchanged r = Run(url, secure, control);
    if (r.outcome == Outcome::Answered || r.failure == FailureKind::HttpStatus)
        return std::move(r.body);
    if (!secure) return kErrorMarker + r.text;
    // An address that cannot be parsed is a message box even while the window is hidden.
    const bool parseError = r.outcome == Outcome::NotSent && r.text == kParseError;
    if (!parseError && hooks_.isHidden && hooks_.isHidden()) {
        if (hooks_.notifyUser) hooks_.notifyUser(r.text);
    } else if (hooks_.showMessage) {
        hooks_.showMessage(r.text);
    }
    // A cancelled answer is no answer, however much of it had come.
    if (r.failure == FailureKind::Cancelled) return std::string();
    return std::move(r.body);
}

namespace {

FailureKind KindOf(CURLcode rc) {
    switch (rc) {
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_CONNECT:
            return FailureKind::Connect;
        case CURLE_OPERATION_TIMEDOUT:
            return FailureKind::Timeout;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_SSL_SHUTDOWN_FAILED:
            return FailureKind::Tls;
        case CURLE_PARTIAL_FILE:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
        case CURLE_SEND_ERROR:
        case CURLE_WRITE_ERROR:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM:
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_BAD_CONTENT_ENCODING:
            return FailureKind::CutAnswer;
        default:
            return FailureKind::Other;
    }
}

}  // namespace

Exchanged CurlTransport::Run(const SecureString& url, bool secure, TransferControl* control) {
    Exchanged r;
    UrlPtr parsed = ParseUrl(url, secure);
    if (!parsed) {
        r.failure = FailureKind::Other;
        r.text = kParseError;
        return r;
    }

    const std::string proxy = settings_.GetString(keys::kSetting, keys::kProxyServer);
    const std::string proxyUser = settings_.GetString(keys::kSetting, keys::kProxyUserName);
    std::string plainProxyPass = settings_.GetSecret(keys::kSetting, keys::kProxyPass);
    const SecureString proxyPass(plainProxyPass);
    WipeString(plainProxyPass);
    const std::string caFile = settings_.GetString(keys::kSetting, keys::kCACertFile);

    Call call;
    call.counter = &counter_;
    call.control = control;
    call.urlLength = static_cast<float>(url.size());
    call.limit = bodyLimit_;
    call.secure = secure;
    call.idle = timeouts_.idle;
    call.lastActivity = std::chrono::steady_clock::now();
    char errorText[CURL_ERROR_SIZE] = {0};
    std::optional<std::string> failure;

    ExtraAuthorities extra;
    std::string caError;
    EasyPtr easy(curl_easy_init());
    call.easy = easy.get();
    if (!easy) {
        failure = Purseward::tr("The network library cannot be started.").toStdString();
        r.failure = FailureKind::Other;
    } else if (secure && !caFile.empty() && !extra.Load(caFile, caError)) {
        failure = caError;
        r.failure = FailureKind::Tls;
    } else {
        CURL* h = easy.get();
        const std::string agent = secure ? std::string("Purseward") : "Purseward " + Str(102);
        bool ok = Set(h, CURLOPT_CURLU, parsed.get()) && Set(h, CURLOPT_HTTPGET, 1L) &&
                  Set(h, CURLOPT_NOSIGNAL, 1L) && Set(h, CURLOPT_ERRORBUFFER, errorText) &&
                  Set(h, CURLOPT_PROTOCOLS_STR, "http,https") &&
                  Set(h, CURLOPT_FOLLOWLOCATION, 0L) && Set(h, CURLOPT_PATH_AS_IS, 1L) &&
                  Set(h, CURLOPT_USERAGENT, agent.c_str()) &&
                  Set(h, CURLOPT_CONNECTTIMEOUT_MS,
                      static_cast<long>(timeouts_.connect.count())) &&
                  Set(h, CURLOPT_SSL_VERIFYPEER, 1L) && Set(h, CURLOPT_SSL_VERIFYHOST, 2L) &&
                  Set(h, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L) &&
                  Set(h, CURLOPT_HEADERFUNCTION, OnHeader) && Set(h, CURLOPT_HEADERDATA, &call) &&
                  Set(h, CURLOPT_WRITEFUNCTION, OnBody) && Set(h, CURLOPT_WRITEDATA, &call) &&
                  Set(h, CURLOPT_XFERINFOFUNCTION, OnProgress) &&
                  Set(h, CURLOPT_XFERINFODATA, &call) && Set(h, CURLOPT_NOPROGRESS, 0L);
        // The store of trusted authorities is built afresh for every call, so the extra ones
        // never leak into a later request.
        ok = ok && Set(h, CURLOPT_CA_CACHE_TIMEOUT, 0L);
        if (ok && extra.Count() > 0)
            ok = Set(h, CURLOPT_SSL_CTX_FUNCTION, OnSslContext) &&
                 Set(h, CURLOPT_SSL_CTX_DATA, static_cast<const ExtraAuthorities*>(&extra));
        if (ok && !proxy.empty()) {
            // A proxy given as a host alone listens on port 80.
            ok = Set(h, CURLOPT_PROXY, proxy.c_str()) && Set(h, CURLOPT_PROXYPORT, 80L) &&
                 Set(h, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
            if (ok && !proxyUser.empty() && !Set(h, CURLOPT_PROXYUSERNAME, proxyUser.c_str()) &&
                hooks_.showMessage)
                hooks_.showMessage(Purseward::tr("Failed to set proxy user name.").toStdString());
            if (ok && !proxyPass.empty() && !Set(h, CURLOPT_PROXYPASSWORD, proxyPass.c_str()) &&
                hooks_.showMessage)
                hooks_.showMessage(
                    Purseward::tr("Failed to set proxy user password.").toStdString());
        }
        if (!ok) {
            failure =
                Purseward::tr("The network library rejected the request options.").toStdString();
            r.failure = FailureKind::Other;
        } else {
            const CURLcode rc = Perform(h, control);
            // Bytes of request written: none means the server cannot have seen the request.
            long requestSize = 0;
            curl_easy_getinfo(h, CURLINFO_REQUEST_SIZE, &requestSize);
            curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &r.status);
            if (rc != CURLE_OK) {
                r.outcome = requestSize > 0 ? Outcome::Unknown : Outcome::NotSent;
                if (control && control->Cancelled()) {
                    failure = control->CancelText();
                    r.failure = FailureKind::Cancelled;
                } else if (call.idleExpired) {
                    failure = Purseward::tr("No data received for %1 seconds.")
                                  .arg(static_cast<qlonglong>(timeouts_.idle.count()))
                                  .toStdString();
                    r.failure = FailureKind::Timeout;
                } else if (call.tooLarge) {
                    failure = Purseward::tr("The answer is larger than %1 bytes.")
                                  .arg(static_cast<qulonglong>(bodyLimit_))
                                  .toStdString();
                    r.failure = FailureKind::CutAnswer;
                } else {
                    failure = errorText[0] ? std::string(errorText) : curl_easy_strerror(rc);
                    r.failure = KindOf(rc);
                }
                while (!failure->empty() && (failure->back() == '\n' || failure->back() == '\r'))
                    failure->pop_back();
            } else if (r.status != 200) {
                call.body.Wipe();
                r.outcome = Outcome::Unknown;
                r.failure = FailureKind::HttpStatus;
                r.text = "The server answered with status " + std::to_string(r.status) + ".";
            } else {
                r.outcome = Outcome::Answered;
            }
        }
    }

    if (failure) {
        // Neither the URL (its query carries credentials) nor the proxy password may show.
        r.text = ScrubSecrets(*failure, {url, UrlPart(parsed.get(), CURLUPART_URL),
                                         UrlPart(parsed.get(), CURLUPART_QUERY), proxyPass});
    }
    r.body = std::string(call.body.View());
    call.body.Wipe();
    // The transfer is over: the easy handle is released before the status field changes.
    easy.reset();

    const std::string traffic = TrafficText(counter_);
    if (!traffic.empty() && hooks_.trafficChanged) hooks_.trafficChanged(traffic);
    return r;
}

}  // namespace pw
