#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "info/banner_builder.h"
#include "info/banner_strip.h"
#include "info/info_page.h"

namespace pw {
namespace {

const std::string kIp = std::string(kIpMarker) + " ";

std::string Entries(int n) {
    std::string s;
    for (int i = 1; i <= n; ++i)
        s += "http://ads.example/" + std::to_string(i) + "~Offer " + std::to_string(i) +
             "~http://ads.example/" + std::to_string(i) + ".jpg<br>\r\n";
    return s;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class BannerBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("pw_banner_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        request_.site = "http://site.example/";
        request_.stripPath = (dir_ / kStripFileName).string();
        request_.ownVersion = "2.9.3";
        request_.seed = 1254659696;
    }
    void TearDown() override {
        std::filesystem::permissions(dir_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
        std::filesystem::remove_all(dir_);
    }
    BannerResult Build(const std::string& page) {
        BannerCalls calls;
        calls.httpGet = [&](const std::string& url) {
            urls_.push_back(url);
            return page;
        };
        calls.showCurrentIP = [&](const std::string& ip) { ips_.push_back(ip); };
        calls.notifyUser = [&](const std::string& text) { notices_.push_back(text); };
        return BuildBanner(request_, calls);
    }
    std::vector<BannerEntry> Shown() { return ParseStrip(ReadAll(request_.stripPath)).links; }

    std::filesystem::path dir_;
    BannerRequest request_;
    std::vector<std::string> urls_, ips_, notices_;
};

TEST(InfoPageTest, AddressAndVersionAreTheLeadingRunOfDigitsAndDots) {
    struct Case {
        std::string page, ip, version;
    } cases[] = {
        {kIp + "10.1.2.3<br>Last version : 3.0.0<br>", "10.1.2.3", "3.0.0"},
        // 17 characters at most; the version of 5.
        {kIp + "123.123.123.123.4567", "123.123.123.123.4", ""},
        {"Last version : 2.10.0", "", "2.10."},
        // The marker in UTF-8 is not the page's marker.
        {"Ваш IP-адрес : 10.0.0.1", "", ""},
        {kIp + "x10.0.0.1", "", ""},
        {kIp, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindCurrentIp(c.page), c.ip) << c.page;
        EXPECT_EQ(FindLastVersion(c.page), c.version) << c.page;
    }
    EXPECT_EQ(SiteUrl("http://a.example//", "/Info.php"), "http://a.example/Info.php");
}

TEST_F(BannerBuilderTest, VersionIsComparedAsTextAndAnnouncedUnlessSwitchedOff) {
    struct Case {
        std::string version;
        bool check, announced;
    } cases[] = {{"3.0.0", true, true}, {"2.10.0", true, false}, {"2.9.3", true, false},
                 {"2.9.4", true, true}, {"3.0.0", false, false}};
    for (const Case& c : cases) {
        notices_.clear();
        ips_.clear();
        request_.checkNewVersion = c.check;
        const BannerResult r = Build(kIp + "192.168.0.7<br>Last version : " + c.version);
        EXPECT_EQ(r.announced, c.announced) << c.version;
        ASSERT_EQ(notices_.size(), c.announced ? 1u : 0u) << c.version;
        // The IP is shown whatever the version check says.
        EXPECT_EQ(ips_, std::vector<std::string>{"192.168.0.7"});
        if (c.announced) {
            EXPECT_EQ(notices_[0], "New version is available ...\r\nYour version : 2.9.3 \r\n"
                                   "Version on site : " + c.version.substr(0, 5));
        }
    }
    EXPECT_EQ(urls_[0], "http://site.example/Info.php");
}

TEST_F(BannerBuilderTest, EntriesBecomeLinksInAnOrderSetByTheClock) {
    std::set<std::vector<std::string>> orders;
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        request_.seed = seed;
        const BannerResult r = Build("before " + Entries(3) + "trailing text");
        EXPECT_EQ(r.links, 3);
        std::vector<std::string> order;
        for (const BannerEntry& e : Shown()) order.push_back(e.title);
        std::vector<std::string> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(sorted, (std::vector<std::string>{"Offer 1", "Offer 2", "Offer 3"}));
        orders.insert(order);
        // The same moment gives the same order.
        Build("before " + Entries(3));
        std::vector<std::string> again;
        for (const BannerEntry& e : Shown()) again.push_back(e.title);
        EXPECT_EQ(again, order);
    }
    EXPECT_GE(orders.size(), 3u);
}

TEST_F(BannerBuilderTest, ShortEntriesAndForeignSchemesAreSkipped) {
    const std::string page =
        "http://a.example/~A~http://a.example/a.jpg<br>"
        "http://b.example/~only two<br>"
        "javascript:alert(1)~Script~http://c.example/c.jpg<br>"
        "http://d.example/~File image~file:///etc/passwd<br>"
        " HTTPS://e.example/x \r\n~ E ~ http://e.example/e.jpg<br>"
        "http://f.example/~after the last br~http://f.example/f.jpg";
    const BannerResult r = Build(page);
    EXPECT_EQ(r.links, 2);
    std::set<std::string> links;
    for (const BannerEntry& e : Shown()) links.insert(e.link + "|" + e.title + "|" + e.image);
    EXPECT_EQ(links, (std::set<std::string>{"http://a.example/|A|http://a.example/a.jpg",
                                            "HTTPS://e.example/x|E|http://e.example/e.jpg"}));
}

TEST_F(BannerBuilderTest, EntryTextsCannotInjectMarkup) {
    const std::string title = "\"><script>alert('x')</script><a href=\"javascript:1";
    Build("http://a.example/?q=1&r=\"2\"~" + title + "~http://a.example/a.jpg<br>");
    const std::string file = ReadAll(request_.stripPath);
    EXPECT_EQ(file.find("<script>alert"), std::string::npos);
    EXPECT_EQ(file.find("javascript"), file.find("javascript:1"));  // only inside the title
    const auto links = Shown();
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].title, title);
    EXPECT_EQ(links[0].link, "http://a.example/?q=1&r=\"2\"");
    EXPECT_EQ(ParseStrip(file).background, "http://site.example/BackImage.jpg");
}

TEST_F(BannerBuilderTest, FailedFetchWritesTheEmptyStrip) {
    const BannerResult r =
        Build("-=Error=- : Could not connect " + kIp + "1.2.3.4 Last version : 9.9.9 " + Entries(2));
    EXPECT_FALSE(r.fetched);
    EXPECT_TRUE(r.written);
    EXPECT_TRUE(ips_.empty());
    EXPECT_TRUE(notices_.empty());
    EXPECT_EQ(ReadAll(request_.stripPath), StripHead(request_.site) + "\r\n" + StripTail());
    EXPECT_EQ(StripTail(), "</MARQUEE></td></tr></table></body></html>");
}

TEST_F(BannerBuilderTest, ReadOnlyStripFileIsReplacedAndUnwritableFolderKeepsTheOld) {
    {
        std::ofstream(request_.stripPath) << "old strip";
    }
    ::chmod(request_.stripPath.c_str(), 0444);
    EXPECT_TRUE(Build(Entries(1)).written);
    EXPECT_EQ(Shown().size(), 1u);

    ::chmod(request_.stripPath.c_str(), 0444);
    ::chmod(dir_.c_str(), 0555);
    // A user with rights over every file (root) writes anyway; the rest needs an ordinary one.
    if (::access(dir_.c_str(), W_OK) == 0) return;
    const BannerResult r = Build(Entries(3));
    EXPECT_FALSE(r.written);
    EXPECT_EQ(Shown().size(), 1u);  // the old strip is still whole
}

}  // namespace
}  // namespace pw
