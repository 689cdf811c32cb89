#pragma once
// The V-Money interface of the sandbox.
#include <httplib.h>

namespace sandbox {

// Adds the route /vai.php (the request document in "request_data") to the HTTPS server,
// with the demo accounts of vm_ledger.h.
void RegisterVMoney(httplib::Server& server);

}  // namespace sandbox
