#pragma once
// The work of the banner worker: fetch the information page, show the IP, announce a newer
// version, and write the strip file.
#include <cstdint>
#include <functional>
#include <string>

namespace pw {

// The main window's services the worker calls; all three may be called from the worker thread.
struct BannerCalls {
    std::function<std::string(const std::string& url)> httpGet;
    std::function<void(const std::string& address)> showCurrentIP;
    std::function<void(const std::string& text)> notifyUser;
};

// What the worker needs, read on the user-interface thread before it starts.
struct BannerRequest {
    std::string site;              // "InfoSite"
    std::string stripPath;         // program directory + "tmp.html"
    std::string ownVersion;        // string 102
    bool checkNewVersion = true;   // "CheckNewVersion" is not 0
    std::uint32_t seed = 0;        // the current time: the order of the entries
};

struct BannerResult {
    bool fetched = false;       // the page came without the error marker
    std::string ip;             // shown address, or empty
    std::string siteVersion;    // version on the site, or empty
    bool newer = false;         // the site's version is newer
    bool announced = false;     // ... and the user was told
    int links = 0;              // image links written
    bool written = false;       // the strip file was replaced
    std::string stripPath;
};

BannerResult BuildBanner(const BannerRequest& request, const BannerCalls& calls);

}  // namespace pw
