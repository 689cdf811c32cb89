#include "info/banner_builder.h"

#include <vector>

#include "info/banner_strip.h"
#include "info/info_page.h"

namespace pw {

BannerResult BuildBanner(const BannerRequest& request, const BannerCalls& calls) {
    BannerResult result;
    result.stripPath = request.stripPath;
    const std::string page = calls.httpGet(SiteUrl(request.site, "/Info.php"));
    result.fetched = page.find(kHttpErrorMarker) == std::string::npos;

    if (result.fetched) {
        result.ip = FindCurrentIp(page);
        if (!result.ip.empty()) calls.showCurrentIP(result.ip);
        result.siteVersion = FindLastVersion(page);
        result.newer = IsNewerVersion(result.siteVersion, request.ownVersion);
        if (result.newer && request.checkNewVersion) {
            calls.notifyUser(NewVersionNotice(request.ownVersion, result.siteVersion));
            result.announced = true;
        }
    }

    std::vector<BannerEntry> entries;
    if (result.fetched) {
        std::vector<std::string> raw = SplitBannerEntries(page);
        ShuffleEntries(raw, request.seed);
        for (const std::string& r : raw) {
            BannerEntry e;
            if (ParseBannerEntry(r, e)) entries.push_back(std::move(e));
        }
    }
    result.links = static_cast<int>(entries.size());
    result.written = WriteStripFile(request.stripPath, StripPage(request.site, entries));
    return result;
}

}  // namespace pw
