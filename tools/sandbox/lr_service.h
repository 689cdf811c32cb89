#pragma once
// The Liberty Reserve interface of the sandbox.
#include <httplib.h>

namespace sandbox {

// Adds the routes /xml/balance.aspx, /xml/history.aspx, /xml/transfer.aspx and
// /xml/accountname.aspx to the HTTPS server, with the demo accounts.
void RegisterLibertyReserve(httplib::Server& server);

}  // namespace sandbox
