#pragma once
// Transport on libcurl's easy interface, one handle per call.
#include <chrono>
#include <functional>
#include <mutex>
#include <string>

#include "net/transport.h"
#include "settings/settings_store.h"

namespace pw {

// The traffic counter and the status lock of the main window. The counter changes only while
// the lock is held; each wait for it is bounded at 1000 ms and an update that cannot take the
// lock is skipped.
struct TrafficCounter {
    std::timed_mutex statusLock;  // also guards the main window's three status texts
    float sent = 0.0f;            // bytes sent (URL lengths)
    float received = 0.0f;        // body bytes received
};

// "Send/Received (KB) : %.3f/%.3f" from the counter (read under the lock). Empty when the
// lock cannot be taken within 1000 ms.
std::string TrafficText(TrafficCounter& counter);
// The same text for given byte counts (caption of string 108, a blank, kilobytes).
std::string FormatTraffic(float sent, float received);
// Adds to the counter under the lock; false (and nothing added) when the lock cannot be taken
// within 1000 ms.
bool AddTraffic(TrafficCounter& counter, float sent, float received);

struct TransportHooks {
    // Shows a message box (HttpsGet failures while the window is shown, proxy option errors,
    // "AfxParseURL Error").
    std::function<void(const std::string&)> showMessage;
    // True while the main window is hidden in the tray: HttpsGet failures go to notifyUser.
    std::function<bool()> isHidden;
    std::function<void(const std::string&)> notifyUser;
    // Called with the new traffic text after each request (also after a failure).
    std::function<void(const std::string&)> trafficChanged;
};

struct TransportTimeouts {
    std::chrono::milliseconds connect{30000};
    std::chrono::seconds idle{60};  // a transfer that receives no byte this long is aborted
};

class CurlTransport : public Transport {
public:
    // settings: ProxyServer, ProxyUserName, ProxyPass (secret) and CACertFile are read anew on
    // every call.
    CurlTransport(const SettingsStore& settings, TrafficCounter& counter, TransportHooks hooks,
                  TransportTimeouts timeouts = {});

    std::string HttpsGet(const SecureString& url) override;
    std::string HttpGet(const SecureString& url) override;
    // A cancelled request fails with the control's cancel text (HttpsGet: an empty result).
    std::string Fetch(const SecureString& url, bool secure, TransferControl& control) override;
    // Tells the user nothing; see Transport::Exchange. The body is kept only for a complete
    // 200 answer or for what arrived of a 200 answer that was cut.
    Exchanged Exchange(const SecureString& url, bool secure, TransferControl* control) override;

    // A body larger than this fails the request ("The answer is larger than ... bytes.").
    static constexpr size_t kDefaultBodyLimit = size_t{64} << 20;
    void SetBodyLimit(size_t bytes) { bodyLimit_ = bytes; }

private:
  std::string Get(const SecureString& url, bool secure, TransferControl* control);
  // The request itself: classified, traffic counted, nothing shown.
  Exchanged Run(const SecureString& url, bool secure, TransferControl* control);

  const SettingsStore& settings_;
  TrafficCounter& counter_;
  TransportHooks hooks_;
  TransportTimeouts timeouts_;
  size_t bodyLimit_ = kDefaultBodyLimit;
};

}  // namespace pw
