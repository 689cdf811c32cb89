#pragma once
// The two GET operations every request of the program goes through.
#include <string>

#include "net/transfer.h"

namespace pw {

class Transport {
public:
    virtual ~Transport() = default;
    // Payment-system interfaces. Empty on failure (the user has been told of network failures).
    virtual std::string HttpsGet(const std::string& url) = 0;
    // Plain-HTTP pages. On failure a text that begins with "-=Error=-".
    virtual std::string HttpGet(const std::string& url) = 0;
    // HttpsGet (secure) or HttpGet that control can cancel and that reports to it the bytes
    // received. A transport that cannot be cancelled runs the plain call.
    virtual std::string Fetch(const std::string& url, bool secure, TransferControl& control) {
        (void)control;
        return secure ? HttpsGet(url) : HttpGet(url);
    }
};

}  // namespace pw
