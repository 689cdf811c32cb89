#pragma once
// The e-gold interface of the sandbox and its plain-HTTP metal price page.
#include <httplib.h>

namespace sandbox {

// Adds /acct/balance.asp, /acct/historycsv.asp and /acct/confirm.asp to the HTTPS server and
// /unsecure/metaldata.asp to the HTTP server, sharing one set of demo accounts:
//
//   account  passphrase   Gold        Silver       Platinum    Palladium   (ounces)
//   1234567  demopass1    1.500000    100.000000   0.250000    0.000000
//   7654321  payeepass2   2.000000    10.000000    0.000000    1.000000
//   5550001  thirdpass3   0.100000    0.000000     0.000000    0.000000
//
// Prices (USD per ounce): Gold 900.00, Silver 12.50, Platinum 1100.00, Palladium 200.00.
// Account 1234567 has a seeded history of all eight kinds of operation from 2 January 2009
// to 20 March 2009 with 7654321 and 5550001; transfers move metal between the accounts.
void RegisterEGold(httplib::Server& https, httplib::Server& http);

}  // namespace sandbox
