#pragma once
// The wait cursor for the length of a request.
#include <QApplication>
#include <QCursor>
#include <string>

#include "accounts/tab_host.h"

namespace pw {

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The wait cursor, and the host told what the requests meanwhile wait for.
class RequestScope : public WaitCursor {
public:
    RequestScope(TabHost& host, const std::string& waitingFor, bool sendsMoney = false)
        : host_(host) {
        host_.SetRequestTopic({waitingFor, sendsMoney});
    }
    ~RequestScope() { host_.SetRequestTopic({}); }

private:
    TabHost& host_;
};

}  // namespace pw
