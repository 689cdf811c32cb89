#pragma once
// The program's web site, visited once per run: its root page is fetched and the answer
// dropped (there is nothing to show).
#include <functional>
#include <string>

namespace pw {

class CSiteView {
public:
    // load fetches an address (it may run the fetch elsewhere).
    explicit CSiteView(std::function<void(const std::string& url)> load)
        : load_(std::move(load)) {}

    void SetSite(const std::string& rootPage) { site_ = rootPage; }
    const std::string& Site() const { return site_; }
    // Loads the site unless it was loaded before in this run.
    void LoadSite();
    bool LoadedOnce() const { return loadedOnce_; }

private:
    std::function<void(const std::string&)> load_;
    std::string site_;
    bool loadedOnce_ = false;
};

}  // namespace pw
