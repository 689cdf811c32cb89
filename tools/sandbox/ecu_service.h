#pragma once
// The ECUMoney interface of the sandbox.
#include <httplib.h>

namespace sandbox {

// Adds the pages /sci/balance.pl and /sci/history.pl to the HTTPS server. Answers are plain
// text: "USD/EUR" balances, or "ERROR " followed by the reason.
// Demo accounts (ECU-Account / password):
//   E1000100 / ecu pass#1   USD 12.34, EUR 5.67, three operations in 2009
//   E2000200 / demo         USD 1500.00, EUR 0.00, no operations
void RegisterEcuMoney(httplib::Server& server);

}  // namespace sandbox
