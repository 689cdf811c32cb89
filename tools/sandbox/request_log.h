#pragma once
// The simulator's request log ("requests.log" in the state folder): one line per request with
// its time, method, path, parameters and status. Credentials never reach it: the value of
// every parameter and XML element whose name speaks of a password, PIN, key, secret word or
// token is written as "***".
#include <httplib.h>

#include <string>

namespace sandbox {

// The parameter text of a request as the log shows it ("name=value&..." with credentials
// masked; XML documents keep their shape with the credential elements masked).
std::string MaskedParams(const httplib::Params& params);

// Starts the log in the folder and hooks it to the server (any number of servers).
void LogRequests(httplib::Server& server, const std::string& dir);

}  // namespace sandbox
