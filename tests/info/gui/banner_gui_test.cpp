#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <fstream>
#include <mutex>

#include "accounts/tab_host.h"
#include "app/purseward_app.h"
#include "info/banner_strip.h"
#include "info/gui/banner_service.h"
#include "info/gui/banner_view.h"
#include "info/info_page.h"
#include "net/curl_transport.h"
#include "settings/keys.h"
#include "support/qt_support.h"
#include "support/sandbox.h"
#include "ui/base/fake_seams.h"

namespace pw {
namespace {

using test::EnsureQtApp;

bool WaitFor(const std::function<bool()>& cond, int ms = 20000) { return test::WaitFor(cond, ms); }

std::string Jpeg(QColor colour) {
    QImage image(468, 60, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

// The main window's services, answering from a table; a request can be held back.
class FakeHost : public TabHost {
public:
    std::map<std::string, std::string> pages;
    std::atomic<bool> hold{false};

    std::string HttpGet(const SecureString& url) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            urls_.emplace_back(url);
        }
        while (hold) QThread::msleep(2);
        auto it = pages.find(std::string(url));
        return it == pages.end() ? std::string("-=Error=- : no such page") : it->second;
    }
    void ShowCurrentIP(const std::string& text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        ips_.push_back(text);
    }
    void NotifyUser(const std::string& text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        notices_.push_back(text);
    }
    std::string HttpsGet(const SecureString&) override { return std::string(); }
    void SetTabCaption(const std::string&) override {}
    std::string MakeTabTableName(const std::string&) override { return std::string(); }
    void ShowBanner() override {}

    int Count(const std::string& url) {
        std::lock_guard<std::mutex> lock(mutex_);
        return static_cast<int>(std::count(urls_.begin(), urls_.end(), url));
    }
    std::vector<std::string> Ips() {
        std::lock_guard<std::mutex> lock(mutex_);
        return ips_;
    }
    std::vector<std::string> Notices() {
        std::lock_guard<std::mutex> lock(mutex_);
        return notices_;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> urls_, ips_, notices_;
};

class BannerGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
    void SetUp() override {
        ASSERT_TRUE(tmp_.isValid());
        base_ = tmp_.path().toStdString() + "/";
        app_ = std::make_unique<CPursewardApp>(base_, ui_, clock_);
    }
    void SetSite(const std::string& site) {
        app_->WriteString(keys::kSetting, keys::kInfoSite, site);
    }

    QTemporaryDir tmp_;
    std::string base_;
    ScriptedUi ui_;
    ManualClock clock_{1254659696};
    std::unique_ptr<CPursewardApp> app_;
    std::vector<QUrl> opened_;
};

TEST_F(BannerGuiTest, TwoLoginsInQuickSuccessionStartOneWorker) {
    FakeHost host;
    SetSite("http://site.example");
    host.pages["http://site.example/Info.php"] =
        std::string(kIpMarker) + " 10.0.0.5<br>Last version : 3.0.0<br>"
        "http://a.example/~A~http://a.example/a.png<br>"
        "http://b.example/~B~http://b.example/b.png<br>"
        "http://c.example/~C~http://c.example/c.png<br>";
    host.pages["http://a.example/a.png"] = Jpeg(Qt::red);
    host.pages["http://b.example/b.png"] = Jpeg(Qt::green);
    CBannerView view([this](const QUrl& url) { opened_.push_back(url); });
    BannerService service(*app_, host, base_, &view);
    bool onUiThread = false;
    QObject::connect(&service, &BannerService::StripShown, [&] {
        onUiThread = QThread::currentThread() == QApplication::instance()->thread();
    });

    host.hold = true;
    service.ShowBanner();
    service.ShowBanner();
    ASSERT_TRUE(WaitFor([&] { return host.Count("http://site.example/Info.php") == 1; }));
    EXPECT_TRUE(service.WorkerRunning());
    EXPECT_FALSE(view.isEnabled());
    service.ShowBanner();
    host.hold = false;
    ASSERT_TRUE(WaitFor([&] { return service.BannerShown(); }));
    EXPECT_TRUE(onUiThread);
    EXPECT_TRUE(view.isEnabled());
    EXPECT_EQ(view.Content().links.size(), 3u);
    EXPECT_EQ(host.Ips(), std::vector<std::string>{"10.0.0.5"});
    EXPECT_EQ(host.Notices().size(), 1u);

    // Images once each, also when the strip is shown again; a failed one is not asked again.
    ASSERT_TRUE(WaitFor([&] { return host.Count("http://c.example/c.png") == 1; }));
    // The images load side by side: b may be shown before a.
    ASSERT_TRUE(WaitFor([&] { return view.HasImage("http://b.example/b.png"); }));
    EXPECT_TRUE(WaitFor([&] { return view.HasImage("http://a.example/a.png"); }));
    view.ShowStrip(service.StripPath());
    service.ShowBanner();
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(host.Count("http://site.example/Info.php"), 1);
    EXPECT_EQ(host.Count("http://site.example/"), 1);  // the site itself, once per run
    EXPECT_EQ(host.Count("http://a.example/a.png"), 1);
    EXPECT_EQ(host.Count("http://c.example/c.png"), 1);
    EXPECT_EQ(host.Count("http://site.example/BackImage.jpg"), 1);
    EXPECT_FALSE(view.HasImage("http://c.example/c.png"));
}

TEST_F(BannerGuiTest, StripStopsUnderTheMouseShowsTitlesAndOpensOnlyWebLinks) {
    const std::string path = base_ + "tmp.html";
    std::vector<BannerEntry> entries = {{"http://a.example/x?y=1", "First offer \xCF\xF0\xE8\xEC\xE5\xF0",
                                         "http://a/1.png"},
                                        {"javascript:alert(1)", "Script", "http://a/2.png"},
                                        {"https://c.example/", "Third offer", "http://a/3.png"}};
    {
        std::ofstream(path, std::ios::binary) << StripPage("http://site.example", entries);
    }
    CBannerView view([this](const QUrl& url) { opened_.push_back(url); });
    view.SetImageFetch([](const std::string&, std::function<void(const std::string&)> done) {
        done(Jpeg(Qt::blue));
    });
    view.resize(635, 78);  // not shown: the keyboard focus would stop the strip
    view.setEnabled(true);
    view.ShowStrip(path);
    EXPECT_TRUE(view.IsScrolling());
    EXPECT_TRUE(view.HasImage("http://a/2.png"));
    const int start = view.Offset();
    ASSERT_TRUE(WaitFor([&] { return view.Offset() < start; }));

    // Home brings the first link to the left edge; the mouse enters and stops the strip.
    QTest::keyClick(&view, Qt::Key_Home);
    const QPoint first = view.LinkRect(0).center();
    QEnterEvent enter(first, view.mapToGlobal(first), view.mapToGlobal(first));
    QApplication::sendEvent(&view, &enter);
    EXPECT_FALSE(view.IsScrolling());
    const int stopped = view.Offset();
    WaitFor([] { return false; }, 100);
    EXPECT_EQ(view.Offset(), stopped);

    auto mouse = [&](QEvent::Type type, QPoint pos) {
        QMouseEvent e(type, pos, view.mapToGlobal(pos), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&view, &e);
    };
    QMouseEvent move(QEvent::MouseMove, first, view.mapToGlobal(first), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    EXPECT_EQ(view.toolTip(), QString::fromUtf8("First offer Пример"));  // windows-1251
    mouse(QEvent::MouseButtonPress, first);
    mouse(QEvent::MouseButtonRelease, first);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl("http://a.example/x?y=1"));

    // A strip file edited by hand may hold another scheme: it is never opened.
    QTest::keyClick(&view, Qt::Key_Right);
    const QPoint second = view.LinkRect(1).center();
    mouse(QEvent::MouseButtonPress, second);
    mouse(QEvent::MouseButtonRelease, second);
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(opened_.size(), 1u);
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Return);
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[1], QUrl("https://c.example/"));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&view, &leave);
    EXPECT_TRUE(view.IsScrolling());
    view.show();
    view.hide();
    EXPECT_FALSE(view.IsScrolling());  // nothing moves while the window is in the tray
}

TEST_F(BannerGuiTest, AStripFileTooLongIsToldAndNotHalfShown) {
    const std::string path = base_ + "tmp.html";
    const std::string page = StripPage("http://site.example", {{"https://c.example/", "Offer", "http://a/3.png"}});
    CBannerView view([](const QUrl&) {});
    for (const std::size_t padding : {std::size_t{0}, std::size_t{1} << 20}) {
        std::ofstream(path, std::ios::binary) << page << std::string(padding, ' ');
        const std::string told = view.ShowStrip(path);
        EXPECT_EQ(view.Content().links.size(), padding == 0 ? 1u : 0u);
        EXPECT_EQ(told.empty(), padding == 0);
        if (padding > 0) {
            EXPECT_NE(told.find(path + " is " + std::to_string(page.size() + padding) + " bytes long"),
                      std::string::npos) << told;
        }
    }
}

TEST_F(BannerGuiTest, SandboxSiteGivesTheAddressAndAMovingStripWithImages) {
    test::Sandbox sandbox;
    SetSite(sandbox.HttpUrl(""));
    TrafficCounter counter;
    CurlTransport transport(app_->Settings(), counter, TransportHooks{});
    struct Host : FakeHost {
        CurlTransport* transport = nullptr;
        std::string HttpGet(const SecureString& url) override { return transport->HttpGet(url); }
    } host;
    host.transport = &transport;
    CBannerView view([](const QUrl&) {});
    view.resize(635, 78);
    BannerService service(*app_, host, base_, &view);
    service.ShowBanner();
    ASSERT_TRUE(WaitFor([&] { return service.BannerShown(); }));
    EXPECT_EQ(host.Ips(), std::vector<std::string>{"127.0.0.1"});
    EXPECT_TRUE(host.Notices().empty());  // the site has this version
    ASSERT_EQ(view.Content().links.size(), 3u);
    ASSERT_TRUE(WaitFor([&] {
        for (const BannerEntry& e : view.Content().links)
            if (!view.HasImage(e.image)) return false;
        return view.HasImage(view.Content().background);
    }));
    EXPECT_TRUE(view.IsScrolling());
    QTest::keyClick(&view, Qt::Key_Home);
    QDir().mkpath(QStringLiteral(PW_BINARY_DIR "/screenshots"));
    EXPECT_TRUE(view.grab().save(QStringLiteral(PW_BINARY_DIR "/screenshots/banner.png")));
}

}  // namespace
}  // namespace pw
