#include <cstdio>

#include "net/curl_transport.h"
#include "ui/base/strings.h"

namespace pw {

std::string FormatTraffic(float sent, float received) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.3f/%.3f", sent / 1024.0, received / 1024.0);
    return Str(108) + " " + buf;
}

std::string TrafficText(TrafficCounter& counter) {
    std::unique_lock<std::timed_mutex> lock(counter.statusLock, std::chrono::milliseconds(1000));
    if (!lock.owns_lock()) return std::string();
    const float sent = counter.sent;
    const float received = counter.received;
    lock.unlock();
    return FormatTraffic(sent, received);
}

bool AddTraffic(TrafficCounter& counter, float sent, float received) {
    std::unique_lock<std::timed_mutex> lock(counter.statusLock, std::chrono::milliseconds(1000));
    if (!lock.owns_lock()) return false;
    counter.sent += sent;
    counter.received += received;
    return true;
}

}  // namespace pw
