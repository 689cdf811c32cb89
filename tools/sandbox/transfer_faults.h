#pragma once
// Faults of the transfer requests that tests switch on, and the count of booked transfers
// per system. Controlled over the plain-HTTP listener:
//   /sandbox/fault?system=LR&mode=drop&count=N   the next N transfers of LR (LR, PM, VM, EG)
//       drop     booked, then the connection closes before the answer's body
//       stall    booked, then the answer's body never comes (ms=, default 30000) and the
//                connection closes
//       500      booked, then status 500
//       refuse   refused with the system's error, nothing booked
//       empty    nothing booked, an empty answer with status 200
//       none     clears the faults of the system
//   /sandbox/booked?system=LR                    the number of transfers booked so far
// Every system also has a payee that refuses every transfer (RefusingPayee).
#include <httplib.h>

#include <string>

namespace sandbox {

enum class FaultMode { None, Drop, Stall, Status500, Refuse, Empty };

struct Fault {
    FaultMode mode = FaultMode::None;
    int stallMs = 30000;
};

// The fault of the system's next transfer (taken: counted down), None when none is armed.
Fault TakeTransferFault(const std::string& system);
// Counts a booked transfer of the system.
void CountBooked(const std::string& system);

// The payee account of each system that refuses every transfer.
const char* RefusingPayee(const std::string& system);

// Answers a booked transfer under the fault (drop, stall, 500) in place of body; false for
// the other modes (the caller answers as usual).
bool AnswerBookedFault(const Fault& fault, httplib::Response& res, const std::string& body,
                       const char* contentType);

// The control routes above.
void RegisterFaultRoutes(httplib::Server& server);

}  // namespace sandbox
