// Requests through a proxy (tinyproxy), with and without Basic credentials.
#include "support/proxy.h"
#include "transport_fixture.h"

namespace pw::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;

class ProxyTransportTest : public TransportTest {
protected:
    void SetUp() override {
        if (!Proxy::Available()) GTEST_SKIP() << "tinyproxy is not installed";
        TransportTest::SetUp();
        TrustSandbox();
    }
    void UseProxy(const std::string& server, const std::string& user = "",
                  const std::string& pass = "") {
        settings_.WriteString("Setting", "ProxyServer", server);
        settings_.WriteString("Setting", "ProxyUserName", user);
        settings_.WriteSecret("Setting", "ProxyPass", pass);
    }
};

TEST_F(ProxyTransportTest, PlainAndSecureRequestsGoThroughTheProxy) {
    Proxy proxy;
    UseProxy(proxy.Address());
    const std::string plain = T().HttpGet(Box().HttpUrl("/test/echo?q=1"));
    EXPECT_THAT(plain, HasSubstr("(tinyproxy/"));
    EXPECT_THAT(plain, HasSubstr("user-agent: Purseward 2.9.3\n"));
    const std::string secure = T().HttpsGet(Box().HttpsUrl("/test/echo?q=2"));
    EXPECT_THAT(secure, HasSubstr("query: q=2\n"));
    EXPECT_THAT(secure, HasSubstr("user-agent: Purseward\n"));
    EXPECT_THAT(Shown(), IsEmpty());
    EXPECT_THAT(proxy.Log(), HasSubstr("CONNECT 127.0.0.1:" + std::to_string(Box().HttpsPort())));
}

TEST_F(ProxyTransportTest, BasicCredentialsAreSentAndWrongOnesFail) {
    Proxy::Options options;
    options.user = "alice";
    options.password = "pr0xy-Pass";
    Proxy proxy(options);
    UseProxy(proxy.Address(), "alice", "pr0xy-Pass");
    EXPECT_THAT(T().HttpsGet(Box().HttpsUrl("/test/echo")), HasSubstr("request: GET"));
    EXPECT_THAT(T().HttpGet(Box().HttpUrl("/test/echo")), HasSubstr("(tinyproxy/"));
    EXPECT_THAT(Shown(), IsEmpty());

    UseProxy(proxy.Address(), "alice", "wrong-pass");
    EXPECT_EQ(T().HttpsGet(Box().HttpsUrl("/test/echo")), "");
    ASSERT_THAT(Shown(), SizeIs(1));
    EXPECT_THAT(Shown()[0], HasSubstr("CONNECT tunnel failed"));
    EXPECT_THAT(Shown()[0], Not(HasSubstr("wrong-pass")));
    EXPECT_EQ(T().HttpGet(Box().HttpUrl("/test/echo")), "") << "a 407 is a status, not an error";

    UseProxy(proxy.Address());  // no credentials at all
    EXPECT_EQ(T().HttpsGet(Box().HttpsUrl("/test/echo")), "");
    EXPECT_THAT(Shown(), SizeIs(2));
}

TEST_F(ProxyTransportTest, SettingsAreReadAnewOnEveryCall) {
    Proxy proxy;
    EXPECT_THAT(T().HttpGet(Box().HttpUrl("/test/echo")), HasSubstr("via: \n"));
    UseProxy(proxy.Address());
    EXPECT_THAT(T().HttpGet(Box().HttpUrl("/test/echo")), HasSubstr("(tinyproxy/"));
    UseProxy("");
    EXPECT_THAT(T().HttpGet(Box().HttpUrl("/test/echo")), HasSubstr("via: \n"));
}

TEST_F(ProxyTransportTest, CredentialsWithoutAProxyServerAreIgnored) {
    UseProxy("", "alice", "secret");
    EXPECT_THAT(T().HttpsGet(Box().HttpsUrl("/test/echo")), HasSubstr("via: \n"));
    EXPECT_THAT(Shown(), IsEmpty());
}

TEST_F(ProxyTransportTest, ADeadProxyFailsTheRequest) {
    UseProxy("127.0.0.1:" + std::to_string(FreeLoopbackPort()), "bob", "dead-proxy-pass");
    EXPECT_EQ(T().HttpsGet(Box().HttpsUrl("/test/zero")), "");
    const std::string plain = T().HttpGet(Box().HttpUrl("/test/zero"));
    EXPECT_EQ(plain.rfind("-=Error=- : ", 0), 0u);
    ASSERT_THAT(Shown(), SizeIs(1));
    EXPECT_THAT(Shown()[0] + plain, Not(HasSubstr("dead-proxy-pass")));
    EXPECT_EQ(Sent(), 0.0f);
}

// As the Windows library does: port 80, not curl's 1080.
TEST_F(ProxyTransportTest, AHostAloneUsesPort80) {
    if (!LoopbackPortFree(80)) GTEST_SKIP() << "port 80 is taken or needs privileges";
    Proxy::Options options;
    options.port = 80;
    Proxy proxy(options);
    UseProxy("127.0.0.1");
    EXPECT_THAT(T().HttpGet(Box().HttpUrl("/test/echo")), HasSubstr("(tinyproxy/"));
    EXPECT_THAT(T().HttpsGet(Box().HttpsUrl("/test/zero")).size(), 5u);
    EXPECT_THAT(Shown(), IsEmpty());
}

}  // namespace
}  // namespace pw::test
