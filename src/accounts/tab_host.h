#pragma once
// The services of the main window that an account tab calls.
#include <string>

#include "net/transport.h"

namespace pw {

// What a request waits for, shown while it runs: the payment system's name, and whether the
// request sends money (a cancelled one then says that the payment may have gone through).
struct RequestTopic {
    std::string waitingFor;
    bool sendsMoney = false;
};

class TabHost {
public:
    virtual ~TabHost() = default;
    virtual std::string HttpsGet(const SecureString& url) = 0;
    virtual std::string HttpGet(const SecureString& url) = 0;
    // The same request telling the user nothing: the caller learns what became of it
    // (net/transport.h). The default can only judge the body of the plain call.
    virtual Exchanged Exchange(const SecureString& url, bool secure) {
        return ExchangedFromBody(secure ? HttpsGet(url) : HttpGet(url), secure);
    }
    // Tray balloon and sound, only while a tray icon exists.
    virtual void NotifyUser(const std::string& text) = 0;
    // On the current tab: caption "[text]", or empty.
    virtual void SetTabCaption(const std::string& text) = 0;
    // On the current tab: "<prefix>_<suffix>", or empty for an empty suffix; recorded.
    virtual std::string MakeTabTableName(const std::string& suffix) = 0;
    virtual void ShowCurrentIP(const std::string& text) = 0;
    virtual void ShowBanner() = 0;
    // What the calling tab's next requests wait for, shown while they run; an empty topic
    // when they are done.
    virtual void SetRequestTopic(const RequestTopic& /*topic*/) {}
    // True while a request waits for its answer: timers that fall due skip their turn.
    virtual bool RequestWaiting() const { return false; }
    // The requests that follow were not started by the user but by a timer of the tab page
    // origin (auto-refresh, schedule check): a failure of one opens no message box, it marks
    // that tab, the status line and the tray tool tip until the tab's next success. nullptr:
    // the requests are the user's again. origin only identifies the page. Returns the origin
    // it replaces (timers of two tabs may nest while a message box of one is open).
    virtual const void* SetBackgroundOrigin(const void* /*origin*/) { return nullptr; }
};

}  // namespace pw
