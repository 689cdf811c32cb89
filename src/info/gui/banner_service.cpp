#include "info/gui/banner_service.h"

#include "accounts/tab_host.h"
#include "app/purseward_app.h"
#include "info/background_queue.h"
#include "info/banner_strip.h"
#include "info/gui/banner_view.h"
#include "info/info_page.h"
#include "settings/keys.h"
#include "ui/base/strings.h"

namespace pw {

BannerService::BannerService(CPursewardApp& app, TabHost& host, std::string programDir,
                             CBannerView* view, QObject* parent)
    : QObject(parent),
      app_(app),
      host_(host),
      programDir_(std::move(programDir)),
      view_(view),
      siteView_([this](const std::string& url) {
          // Nothing is shown: the visit is all.
          queue_->Post([this, url] { (void)host_.HttpGet(url); });
      }),
      queue_(std::make_unique<BackgroundQueue>()) {
    if (view_) {
        view_->SetImageFetch([this](const std::string& url,
                                    std::function<void(const std::string&)> done) {
            queue_->Post([this, url, done = std::move(done)] {
                std::string bytes = host_.HttpGet(url);
                QMetaObject::invokeMethod(
                    this, [done, bytes = std::move(bytes)] { done(bytes); },
                    Qt::QueuedConnection);
            });
        });
    }
}

BannerService::~BannerService() {
    queue_.reset();
    if (view_) view_->SetImageFetch({});
}

std::string BannerService::StripPath() const { return programDir_ + kStripFileName; }

void BannerService::ShowBanner() {
    const std::string site = app_.GetString(keys::kSetting, keys::kInfoSite, keys::kDefInfoSite);
    // A strip is built once per run, by one worker at a time; a second call meanwhile is
    // ignored.
    if (!bannerShown_ && !workerRunning_) {
        workerRunning_ = true;
        BannerRequest request;
        request.site = site;
        request.stripPath = StripPath();
        request.ownVersion = Str(102);
        request.checkNewVersion =
            app_.GetInt(keys::kSetting, keys::kCheckNewVersion, keys::kDefCheckNewVersion) != 0;
        request.seed = static_cast<std::uint32_t>(app_.GetClock().Now());
        queue_->Post([this, request] {
            BannerCalls calls;
            calls.httpGet = [this](const std::string& url) { return host_.HttpGet(url); };
            calls.showCurrentIP = [this](const std::string& ip) { host_.ShowCurrentIP(ip); };
            calls.notifyUser = [this](const std::string& text) { host_.NotifyUser(text); };
            const BannerResult result = BuildBanner(request, calls);
            QMetaObject::invokeMethod(
                this, [this, result] { OnStripBuilt(result); }, Qt::QueuedConnection);
        });
    }
    siteView_.SetSite(SiteUrl(site, "/"));
    siteView_.LoadSite();
}

void BannerService::OnStripBuilt(const BannerResult& result) {
    lastResult_ = result;
    workerRunning_ = false;
    if (view_) {
        // A strip that could not be written shows what the file held before, or nothing.
        if (const std::string told = view_->ShowStrip(result.stripPath); !told.empty()) app_.WriteLog(told);
        view_->setEnabled(true);
    }
    bannerShown_ = true;
    emit StripShown();
}

}  // namespace pw
