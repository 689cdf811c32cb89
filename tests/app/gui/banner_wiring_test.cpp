// The main window's ShowBanner: the worker's results reach the status line and the banner area.
#include <QFile>
#include <QLineEdit>

#include "info/gui/banner_service.h"
#include "info/gui/banner_view.h"
#include "info/info_page.h"
#include "shell_fixture.h"

namespace pw::test {
namespace {

class BannerWiringTest : public ShellTest {};

TEST_F(BannerWiringTest, LoginShowsTheAddressAndTheStripOnce) {
    WriteSettings("InfoSite=http://127.0.0.1:18080\n");
    script_.answers.push_back({std::string(kIpMarker) + " 198.51.100.4<br>Last version : 2.9.3<br>"
                               "http://a.example/~Offer~http://a.example/a.jpg<br>",
                               ""});
    auto w = MakeWindow();
    EXPECT_FALSE(w->BannerView()->isEnabled());
    w->ShowBanner();
    w->ShowBanner();  // a second tab logs in meanwhile
    ASSERT_TRUE(WaitFor([&] { return w->Banner()->BannerShown(); }));
    EXPECT_EQ(w->IpField()->text(), "Current IP : 198.51.100.4");
    EXPECT_FALSE(w->BannerArea()->isHidden());
    EXPECT_TRUE(w->BannerView()->isEnabled());
    ASSERT_EQ(w->BannerView()->Content().links.size(), 1u);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(base_ + "tmp.html")));
    w.reset();  // waits for the image requests
    EXPECT_EQ(std::count(script_.urls.begin(), script_.urls.end(),
                         "http://127.0.0.1:18080/Info.php"),
              1);
    EXPECT_EQ(script_.urls[1], "http://127.0.0.1:18080/");
}

}  // namespace
}  // namespace pw::test
