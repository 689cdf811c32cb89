#pragma once
// How a failed request is told: one plain sentence per kind of failure, naming the payment
// system and the server as the user knows them, never the query (it carries credentials).
#include <string>
#include <string_view>

#include "net/transport.h"

namespace pw {

// "host:port" of a URL: the port it names, else 443 (secure) or 80. Without user, path and
// query; "" when the URL has no server part.
std::string ServerOf(std::string_view url, bool secure);

// The sentence of a failure of a request the user started, for example "Could not connect to
// Liberty Reserve at 127.0.0.1:18443." An empty system name leaves "Liberty Reserve at" out.
std::string FailureSentence(const Exchanged& result, const std::string& system,
                            const std::string& server);

// The message box of such a failure: the sentence, and the library's text on its own line.
// A cancelled request keeps its own text alone.
std::string FailureMessage(const Exchanged& result, const std::string& system,
                           const std::string& server);

// A failure of a request the user did not start, as the status line and the tray tool tip
// show it: "Liberty Reserve: could not connect to 127.0.0.1:18443 (23:41)"; time is "HH:MM".
std::string FailureNote(const Exchanged& result, const std::string& system,
                        const std::string& server, const std::string& time);

}  // namespace pw
