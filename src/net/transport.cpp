#include "net/transport.h"

namespace pw {

Exchanged ExchangedFromBody(std::string body, bool secure) {
    Exchanged r;
    constexpr char kMarker[] = "-=Error=-";
    if (body.empty() || (!secure && body.rfind(kMarker, 0) == 0)) {
        r.outcome = Outcome::Unknown;
        r.failure = FailureKind::Other;
        if (body.empty()) {
            r.text = "No answer.";
        } else {
            r.text =
                body.substr(body.find(':') == std::string::npos ? body.size() : body.find(':') + 1);
            while (!r.text.empty() && r.text.front() == ' ') r.text.erase(0, 1);
        }
        return r;
    }
    r.body = std::move(body);
    r.outcome = Outcome::Answered;
    r.status = 200;
    return r;
}

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::NotSent:
            return "not sent";
        case Outcome::Answered:
            return "answered";
        case Outcome::Unknown:
            return "unknown";
    }
    return "unknown";
}

}  // namespace pw
