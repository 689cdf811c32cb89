#pragma once
// The GET operations every request of the program goes through.
#include <string>

#include "crypto/secure_string.h"
#include "net/transfer.h"

namespace pw {

// What became of a request, as far as the caller can know. A request that moves money counts
// as delivered only when it was Answered, and may be sent again only when it was NotSent.
enum class Outcome {
    NotSent,   // the request never left: the connection was not made, or nothing was written
    Answered,  // a complete answer with status 200 came back (body holds it)
    Unknown,   // the request went out and no complete 200 answer came back: the server may
               // have acted on it
};

// Why a request failed; None when it was answered.
enum class FailureKind {
    None,
    Connect,     // refused, unreachable, name or proxy not resolved
    Timeout,     // the connection or the answer took too long
    Tls,         // handshake or certificate failure
    CutAnswer,   // the connection broke while the answer came (or it was too large)
    HttpStatus,  // a complete answer with a status other than 200
    Cancelled,   // the user cancelled the request
    Other,       // an address that cannot be used, the library refused the options, ...
};

// The result of Transport::Exchange.
struct Exchanged {
    std::string body;  // the answer's body when Answered; else what arrived of a 200 answer
    Outcome outcome = Outcome::NotSent;
    FailureKind failure = FailureKind::None;
    std::string text;  // the library's failure text, scrubbed of the URL; empty when Answered
    long status = 0;   // HTTP status of the answer, 0 when none came
};

// What a body of the plain calls says: a non-empty body (not an HttpGet error text) is
// Answered, anything else Unknown (the plain calls cannot tell whether a request left).
Exchanged ExchangedFromBody(std::string body, bool secure);

// A request URL may carry credentials in its query: it is taken as a SecureString, so the
// caller's text stays one that is wiped when freed until the request has been sent.
class Transport {
public:
    virtual ~Transport() = default;
    // Payment-system interfaces. Empty on failure (the user has been told of network failures).
    virtual std::string HttpsGet(const SecureString& url) = 0;
    // Plain-HTTP pages. On failure a text that begins with "-=Error=-".
    virtual std::string HttpGet(const SecureString& url) = 0;
    // HttpsGet (secure) or HttpGet that control can cancel and that reports to it the bytes
    // received. A transport that cannot be cancelled runs the plain call.
    virtual std::string Fetch(const SecureString& url, bool secure, TransferControl& control) {
        (void)control;
        return secure ? HttpsGet(url) : HttpGet(url);
    }
    // The same GET that tells the user nothing: the caller learns what became of the request
    // and decides what to show. control may be null (the request cannot be cancelled).
    // Traffic is counted as for the other calls. The default, for transports that only know
    // the plain calls, takes a non-empty body as Answered and anything else as Unknown.
    virtual Exchanged Exchange(const SecureString& url, bool secure, TransferControl* control) {
        return ExchangedFromBody(control  ? Fetch(url, secure, *control)
                                 : secure ? HttpsGet(url)
                                          : HttpGet(url),
                                 secure);
    }
};

// "not sent", "answered", "unknown" (for logs and test messages).
const char* OutcomeName(Outcome outcome);

}  // namespace pw
