#pragma once
// The services of the main window that an account tab calls.
#include <string>

namespace pw {

class TabHost {
public:
    virtual ~TabHost() = default;
    virtual std::string HttpsGet(const std::string& url) = 0;
    virtual std::string HttpGet(const std::string& url) = 0;
    // Tray balloon and sound, only while a tray icon exists.
    virtual void NotifyUser(const std::string& text) = 0;
    // On the current tab: caption "[text]", or empty.
    virtual void SetTabCaption(const std::string& text) = 0;
    // On the current tab: "<prefix>_<suffix>", or empty for an empty suffix; recorded.
    virtual std::string MakeTabTableName(const std::string& suffix) = 0;
    virtual void ShowCurrentIP(const std::string& text) = 0;
    virtual void ShowBanner() = 0;
};

}  // namespace pw
