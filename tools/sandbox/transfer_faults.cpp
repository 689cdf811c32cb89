#include "transfer_faults.h"

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

namespace sandbox {
namespace {

struct Board {
    std::mutex mutex;
    std::map<std::string, std::pair<Fault, int>> armed;  // fault, transfers left
    std::map<std::string, long> booked;
};

Board& TheBoard() {
    static Board board;
    return board;
}

bool KnownSystem(const std::string& s) { return s == "LR" || s == "PM" || s == "VM" || s == "EG"; }

}  // namespace

Fault TakeTransferFault(const std::string& system) {
    Board& b = TheBoard();
    std::lock_guard lock(b.mutex);
    const auto it = b.armed.find(system);
    if (it == b.armed.end() || it->second.second <= 0) return {};
    const Fault f = it->second.first;
    if (--it->second.second == 0) b.armed.erase(it);
    return f;
}

void CountBooked(const std::string& system) {
    Board& b = TheBoard();
    std::lock_guard lock(b.mutex);
    ++b.booked[system];
}

const char* RefusingPayee(const std::string& system) {
    if (system == "LR") return "U5000000";
    if (system == "PM") return "U5000000";
    if (system == "VM") return "VM500000";
    return "5000000";  // EG
}

bool AnswerBookedFault(const Fault& fault, httplib::Response& res, const std::string& body,
                       const char* contentType) {
    switch (fault.mode) {
        case FaultMode::Drop:
            // The header goes out, then the connection closes: no body ever arrives.
            res.set_content_provider(body.size() + 100, contentType,
                                     [](size_t, size_t, httplib::DataSink&) { return false; });
            return true;
        case FaultMode::Stall: {
            const int ms = fault.stallMs;
            res.set_content_provider(body.size() + 100, contentType,
                                     [ms](size_t, size_t, httplib::DataSink&) {
                                         std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                                         return false;
                                     });
            return true;
        }
        case FaultMode::Status500:
            res.status = 500;
            res.set_content("Internal Server Error", "text/plain");
            return true;
        default:
            return false;
    }
}

void RegisterFaultRoutes(httplib::Server& server) {
    server.Get("/sandbox/fault", [](const httplib::Request& req, httplib::Response& res) {
        const std::string system = req.get_param_value("system");
        const std::string mode = req.get_param_value("mode");
        static const std::map<std::string, FaultMode> kModes = {
            {"none", FaultMode::None},     {"drop", FaultMode::Drop},
            {"stall", FaultMode::Stall},   {"500", FaultMode::Status500},
            {"refuse", FaultMode::Refuse}, {"empty", FaultMode::Empty}};
        const auto m = kModes.find(mode);
        int count = 1, ms = 30000;
        try {
            if (req.has_param("count")) count = std::stoi(req.get_param_value("count"));
            if (req.has_param("ms")) ms = std::stoi(req.get_param_value("ms"));
        } catch (...) {
            count = -1;
        }
        if (!KnownSystem(system) || m == kModes.end() || count < 0 || count > 1000 || ms < 0 ||
            ms > 600000) {
            res.status = 400;
            res.set_content("bad fault\n", "text/plain");
            return;
        }
        Board& b = TheBoard();
        std::lock_guard lock(b.mutex);
        if (m->second == FaultMode::None || count == 0)
            b.armed.erase(system);
        else
            b.armed[system] = {Fault{m->second, ms}, count};
        res.set_content("ok\n", "text/plain");
    });
    server.Get("/sandbox/booked", [](const httplib::Request& req, httplib::Response& res) {
        const std::string system = req.get_param_value("system");
        if (!KnownSystem(system)) {
            res.status = 400;
            res.set_content("bad system\n", "text/plain");
            return;
        }
        Board& b = TheBoard();
        std::lock_guard lock(b.mutex);
        res.set_content(std::to_string(b.booked[system]) + "\n", "text/plain");
    });
}

}  // namespace sandbox
