#include "net/failure_text.h"

#include "ui/base/tr.h"

namespace pw {

std::string ServerOf(std::string_view url, bool secure) {
    const std::size_t scheme = url.find("://");
    const std::size_t start = scheme == std::string_view::npos ? 0 : scheme + 3;
    const std::size_t end = url.find_first_of("/?#", start);
    std::string_view part =
        url.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    // A user name and password before the server are no one's business here (and are never
    // copied).
    const std::size_t at = part.rfind('@');
    if (at != std::string_view::npos) part.remove_prefix(at + 1);
    std::string server(part);
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

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A sentence with one place for a server or a system.
std::string Tr(const QString& text, const QString& where) { return text.arg(where).toStdString(); }

// "Liberty Reserve at 127.0.0.1:18443", or the server alone.
std::string Where(const std::string& system, const std::string& server) {
    if (system.empty()) return server;
    if (server.empty()) return system;
    return Purseward::tr("%1 at %2").arg(Q(system), Q(server)).toStdString();
}

}  // namespace

std::string FailureSentence(const Exchanged& r, const std::string& system,
                            const std::string& server) {
    const QString where = Q(Where(system, server));
    switch (r.failure) {
        case FailureKind::Connect:
            return Tr(Purseward::tr("Could not connect to %1."), where);
        case FailureKind::Timeout:
            return Tr(Purseward::tr("%1 did not answer in time."), where);
        case FailureKind::Tls:
            return Tr(Purseward::tr("Could not set up a secure connection to %1."), where);
        case FailureKind::CutAnswer:
            return Tr(Purseward::tr("The answer of %1 broke off before it was complete."), where);
        case FailureKind::HttpStatus:
            return Purseward::tr("%1 answered with status %2.")
                .arg(where)
                .arg(r.status)
                .toStdString();
        case FailureKind::Cancelled: return r.text;
        case FailureKind::None:
        case FailureKind::Other: break;
    }
    return Tr(Purseward::tr("The request to %1 failed."), where);
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
    const QString s = Q(server);
    switch (r.failure) {
        case FailureKind::Connect:
            what = Tr(Purseward::tr("could not connect to %1"), s);
            break;
        case FailureKind::Timeout:
            what = Tr(Purseward::tr("no answer in time from %1"), s);
            break;
        case FailureKind::Tls:
            what = Tr(Purseward::tr("no secure connection to %1"), s);
            break;
        case FailureKind::CutAnswer:
            what = Tr(Purseward::tr("the answer from %1 broke off"), s);
            break;
        case FailureKind::HttpStatus:
            what = Purseward::tr("%1 answered with status %2").arg(s).arg(r.status).toStdString();
            break;
        case FailureKind::Cancelled:
            what = Tr(Purseward::tr("request to %1 cancelled"), s);
            break;
        case FailureKind::None:
        case FailureKind::Other:
            what = Tr(Purseward::tr("the request to %1 failed"), s);
            break;
    }
    return (system.empty() ? std::string() : system + ": ") + what + " (" + time + ")";
}

}  // namespace pw
