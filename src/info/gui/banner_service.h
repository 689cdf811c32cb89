#pragma once
// What ShowBanner starts: the one-time visit of the program's web site and, until a strip has
// been shown, the worker that fetches the information page and writes the strip file. The
// worker's results reach the banner view on the user-interface thread.
#include <QObject>
#include <memory>
#include <string>

#include "info/banner_builder.h"
#include "info/site_view.h"

namespace pw {

class BackgroundQueue;
class CBannerView;
class CPursewardApp;
class TabHost;

class BannerService : public QObject {
    Q_OBJECT
public:
    // host: HttpGet, ShowCurrentIP and NotifyUser, called from the worker thread.
    // programDir: where "tmp.html" is written. view gets its images through the worker thread.
    BannerService(CPursewardApp& app, TabHost& host, std::string programDir, CBannerView* view,
                  QObject* parent = nullptr);
    // Drops the jobs not yet started and waits for the running request.
    ~BannerService() override;

    void ShowBanner();

    bool BannerShown() const { return bannerShown_; }
    bool WorkerRunning() const { return workerRunning_; }
    const CSiteView& SiteView() const { return siteView_; }
    const BannerResult& LastResult() const { return lastResult_; }
    std::string StripPath() const;

signals:
    // The strip was written (or not) and handed to the view.
    void StripShown();

private:
    void OnStripBuilt(const BannerResult& result);

    CPursewardApp& app_;
    TabHost& host_;
    std::string programDir_;
    CBannerView* view_;
    CSiteView siteView_;
    bool bannerShown_ = false;
    bool workerRunning_ = false;
    BannerResult lastResult_;
    std::unique_ptr<BackgroundQueue> queue_;  // last: stopped first
};

}  // namespace pw
