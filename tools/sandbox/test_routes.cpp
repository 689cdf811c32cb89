#include "test_routes.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace sandbox {
namespace {

size_t ParamNumber(const httplib::Request& req, const char* name, size_t def, size_t max) {
    if (!req.has_param(name)) return def;
    const std::string text = req.get_param_value(name);
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text.c_str(), &end, 10);
    if (end == text.c_str()) return def;
    return static_cast<size_t>(std::min<unsigned long long>(v, max));
}

void Sleep(size_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void Status(const httplib::Request& req, httplib::Response& res) {
    const int code = std::atoi(req.matches[1].str().c_str());
    res.status = code;
    res.set_content("status " + std::to_string(code) + "\n", "text/plain");
}

void Big(const httplib::Request& req, httplib::Response& res) {
    const size_t total = ParamNumber(req, "bytes", 0, size_t{256} << 20);
    res.set_content_provider(
        total, "application/octet-stream",
        [](size_t offset, size_t length, httplib::DataSink& sink) {
            std::string chunk(std::min<size_t>(length, 64 * 1024), '\0');
            for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = BigPatternByte(offset + i);
            return sink.write(chunk.data(), chunk.size());
        });
}

void Zero(const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string("a\0b\0c", 5), "application/octet-stream");
}

void Slow(const httplib::Request& req, httplib::Response& res) {
    Sleep(ParamNumber(req, "ms", 1000, 120000));
    res.set_content("slow\n", "text/plain");
}

void Stall(const httplib::Request& req, httplib::Response& res) {
    const size_t ms = ParamNumber(req, "ms", 30000, 600000);
    res.set_content_provider(100, "text/plain",
                             [ms](size_t offset, size_t, httplib::DataSink& sink) {
                                 if (offset == 0) return sink.write("stalling..", 10);
                                 Sleep(ms);
                                 return false;  // closes the connection
                             });
}

void Trickle(const httplib::Request& req, httplib::Response& res) {
    const size_t total = ParamNumber(req, "bytes", 5, 100);
    const size_t ms = ParamNumber(req, "ms", 1000, 10000);
    res.set_content_provider(total, "text/plain",
                             [ms](size_t, size_t, httplib::DataSink& sink) {
                                 Sleep(ms);
                                 return sink.write("t", 1);
                             });
}

void Cut(const httplib::Request&, httplib::Response& res) {
    res.set_content_provider(1000, "text/plain",
                             [](size_t offset, size_t, httplib::DataSink& sink) {
                                 if (offset == 0) return sink.write(std::string(100, 'x').data(), 100);
                                 return false;  // closes the connection
                             });
}

void Echo(const httplib::Request& req, httplib::Response& res) {
    const size_t q = req.target.find('?');
    std::string text;
    text += "request: " + req.method + " " + req.target + " " + req.version + "\n";
    text += "query: " + (q == std::string::npos ? std::string() : req.target.substr(q + 1)) + "\n";
    text += "user-agent: " + req.get_header_value("User-Agent") + "\n";
    text += "via: " + req.get_header_value("Via") + "\n";
    text += "host: " + req.get_header_value("Host") + "\n";
    res.set_content(text, "text/plain");
}

}  // namespace

void RegisterTestRoutes(httplib::Server& server) {
    server.Get(R"(/test/status/(\d+))", Status);
    server.Get("/test/big", Big);
    server.Get("/test/zero", Zero);
    server.Get("/test/slow", Slow);
    server.Get("/test/stall", Stall);
    server.Get("/test/trickle", Trickle);
    server.Get("/test/cut", Cut);
    server.Get("/test/echo", Echo);
}

void RegisterHomePage(httplib::Server& server) {
    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(
            "<html><head><title>Purseward sandbox</title></head>"
            "<body><p>Purseward sandbox</p></body></html>\n",
            "text/html");
    });
}

}  // namespace sandbox
