#include "net/failure_text.h"

namespace pw {

std::string ServerOf(const std::string& url, bool secure) {
    const std::size_t scheme = url.find("://");
    const std::size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    const std::size_t end = url.find_first_of("/?#", start);
    std::string server = url.substr(start, end == std::string::npos ? std::string::npos
                                                                     : end - start);
    // A user name and password before the server are no one's business here.
    const std::size_t at = server.rfind('@');
    if (at != std::string::npos) server.erase(0, at + 1);
    if (server.empty()) return server;
    // "[::1]:8443" and "[::1]" keep their brackets; a port follows the last ":" after them.
    const std::size_t bracket = server.rfind(']');
    const std::size_t colon = server.rfind(':');
    const bool hasPort =
        colon != std::string::npos && (bracket == std::string::npos || colon > bracket);
    if (!hasPort) server += secure ? ":443" : ":80";
    return server;
}

namespace {

// "Liberty Reserve at 127.0.0.1:18443", or the server alone.
std::string Where(const std::string& system, const std::string& server) {
    if (system.empty()) return server;
    if (server.empty()) return system;
    return system + " at " + server;
}

}  // namespace

std::string FailureSentence(const Exchanged& r, const std::string& system,
                            const std::string& server) {
    const std::string where = Where(system, server);
    switch (r.failure) {
        case FailureKind::Connect: return "Could not connect to " + where + ".";
        case FailureKind::Timeout: return where + " did not answer in time.";
        case FailureKind::Tls: return "Could not set up a secure connection to " + where + ".";
        case FailureKind::CutAnswer:
            return "The answer of " + where + " broke off before it was complete.";
        case FailureKind::HttpStatus:
            return where + " answered with status " + std::to_string(r.status) + ".";
        case FailureKind::Cancelled: return r.text;
        case FailureKind::None:
        case FailureKind::Other: break;
    }
    return "The request to " + where + " failed.";
}

std::string FailureMessage(const Exchanged& r, const std::string& system,
                           const std::string& server) {
    const std::string sentence = FailureSentence(r, system, server);
    if (r.failure == FailureKind::Cancelled || r.text.empty() || r.text == sentence)
        return sentence;
    return sentence + "\n" + r.text;
}

std::string FailureNote(const Exchanged& r, const std::string& system,
                        const std::string& server, const std::string& time) {
    std::string what;
    switch (r.failure) {
        case FailureKind::Connect: what = "could not connect to " + server; break;
        case FailureKind::Timeout: what = "no answer in time from " + server; break;
        case FailureKind::Tls: what = "no secure connection to " + server; break;
        case FailureKind::CutAnswer: what = "the answer from " + server + " broke off"; break;
        case FailureKind::HttpStatus:
            what = server + " answered with status " + std::to_string(r.status);
            break;
        case FailureKind::Cancelled: what = "request to " + server + " cancelled"; break;
        case FailureKind::None:
        case FailureKind::Other: what = "the request to " + server + " failed"; break;
    }
    return (system.empty() ? std::string() : system + ": ") + what + " (" + time + ")";
}

}  // namespace pw
