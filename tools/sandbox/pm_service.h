#pragma once
// The Perfect Money interface of the sandbox.
#include <httplib.h>

namespace sandbox {

// Adds the routes /acct/balance.asp, /acct/historycsv.asp and /acct/confirm.asp to the HTTPS
// server, with the demo members:
//   member 1234567, pass phrase "demo-pass":   U1234567 1000.00 USD, E1234567 250.50 EUR,
//                                              G1234567 3.25 gold (OAU)
//   member 7654321, pass phrase "second-pass": U7654321 100.00 USD, E7654321 0.00 EUR
// Three payments between them are in the history already (15 March 2025, 2 November 2025,
// 20 January 2026).
void RegisterPerfectMoney(httplib::Server& server);

}  // namespace sandbox
