#pragma once
// The two GET operations every request of the program goes through.
#include <string>

namespace pw {

class Transport {
public:
    virtual ~Transport() = default;
    // Payment-system interfaces. Empty on failure (the user has been told of network failures).
    virtual std::string HttpsGet(const std::string& url) = 0;
    // Plain-HTTP pages. On failure a text that begins with "-=Error=-".
    virtual std::string HttpGet(const std::string& url) = 0;
};

}  // namespace pw
