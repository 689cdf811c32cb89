#pragma once
// Routes that exercise a client's transport: status codes, large and binary bodies, slow,
// stalled and cut answers, and an echo of what the client sent.
#include <httplib.h>

namespace sandbox {

// The byte at offset i of a /test/big body.
inline char BigPatternByte(size_t i) { return static_cast<char>('a' + i % 26); }

// Adds to any listener:
//   /test/status/<code>   that status with the body "status <code>\n"
//   /test/big?bytes=N     N bytes of BigPatternByte (streamed, up to 256 MB)
//   /test/zero            the 5 bytes "a\0b\0c"
//   /test/slow?ms=N       waits N ms (at most 120 s), then answers "slow\n"
//   /test/stall?ms=N      announces 100 bytes, sends 10 ("stalling.."), then sends nothing for
//                         N ms (default 30000) and closes the connection
//   /test/trickle?bytes=N&ms=M  N bytes "t" (at most 100), each sent M ms (at most 10 s)
//                         after the one before
//   /test/cut             announces 1000 bytes, sends 100 and closes the connection
//   /test/echo            one line each: "request: <method> <target> <version>",
//                         "query: <query text>", "user-agent: <value>", "via: <value>",
//                         "host: <value>"
void RegisterTestRoutes(httplib::Server& server);

// "/" on the plain-HTTP listener: a small page.
void RegisterHomePage(httplib::Server& server);

}  // namespace sandbox
