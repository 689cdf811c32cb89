#pragma once
// The GDP interface of the sandbox.
#include <httplib.h>

namespace sandbox {

// Adds the page /api.htm (method=get with balance=1 or history=1) to the HTTPS server.
// Demo accounts (GDP-Account / Store ID / GDP-Key):
//   GDP1001 / ST-77 / gdp+key&1   USD 125.50, EUR 40.00, GBP 7.25
//   GDP2002 / ST-88 / k2          USD 3.10, GBP 99.99 (answered GBP first, no EUR element)
void RegisterGdp(httplib::Server& server);

}  // namespace sandbox
