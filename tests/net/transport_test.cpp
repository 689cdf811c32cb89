// Requests, certificates, answers and failures of the transport, against the sandbox.
#include <chrono>
#include <fstream>

#include "transport_fixture.h"

namespace pw::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::SizeIs;

TEST_F(TransportTest, UnparsableUrlsAreRefusedBeforeAnyTraffic) {
    for (const char* url : {"127.0.0.1/test/zero", "", "https://", "://x/y", "https:///path",
                            "https://[::1/x"}) {
        SCOPED_TRACE(url);
        EXPECT_EQ(T().HttpsGet(url), "");
        EXPECT_EQ(T().HttpGet(url), "-=Error=- : AfxParseURL Error");
    }
    EXPECT_THAT(Shown(), SizeIs(6));
    for (const auto& m : Shown()) EXPECT_EQ(m, "AfxParseURL Error");
    EXPECT_THAT(Notified(), IsEmpty());
    EXPECT_THAT(Traffic(), IsEmpty()) << "the traffic field keeps its old text";
    EXPECT_EQ(Sent(), 0.0f);
}

TEST_F(TransportTest, TheSandboxAuthorityIsNotTrustedByDefault) {
    for (const std::string& url : {Box().HttpsUrl("/test/zero"), Box().ExpiredUrl("/test/zero"),
                                   Box().WrongHostUrl("/test/zero")}) {
        SCOPED_TRACE(url);
        EXPECT_EQ(T().HttpsGet(url), "");
    }
    const auto shown = Shown();
    ASSERT_THAT(shown, SizeIs(3));
    for (const auto& m : shown) EXPECT_THAT(m, HasSubstr("certificate"));
    EXPECT_EQ(Sent(), 0.0f) << "a request refused at the handshake was never sent";
    EXPECT_THAT(Traffic(), SizeIs(3)) << "the field is refreshed after failures too";
}

TEST_F(TransportTest, TrustedAuthorityAcceptsTheGoodCertificateOnly) {
    TrustSandbox();
    EXPECT_EQ(T().HttpsGet(Box().HttpsUrl("/test/zero")), std::string("a\0b\0c", 5));
    EXPECT_EQ(T().HttpsGet("https://localhost:" + std::to_string(Box().HttpsPort()) +
                           "/test/zero"),
              std::string("a\0b\0c", 5));
    EXPECT_THAT(Shown(), IsEmpty());

    EXPECT_EQ(T().HttpsGet(Box().ExpiredUrl("/test/zero")), "");
    EXPECT_EQ(T().HttpsGet(Box().WrongHostUrl("/test/zero")), "");
    const auto shown = Shown();
    ASSERT_THAT(shown, SizeIs(2));
    EXPECT_THAT(shown[0], HasSubstr("expired"));
    EXPECT_THAT(shown[1], HasSubstr("host name"));
}

TEST_F(TransportTest, AnUnusableCertificateFileFailsClearly) {
    settings_.WriteString("Setting", "CACertFile", dir_ + "/missing.pem");
    EXPECT_EQ(T().HttpsGet(Box().HttpsUrl("/test/zero")), "");
    {
        std::ofstream garbage(dir_ + "/garbage.pem");
        garbage << "-----BEGIN CERTIFICATE-----\nnot base64 at all\n-----END CERTIFICATE-----\n";
    }
    settings_.WriteString("Setting", "CACertFile", dir_ + "/garbage.pem");
    EXPECT_EQ(T().HttpsGet(Box().HttpsUrl("/test/zero")), "");
    const auto shown = Shown();
    ASSERT_THAT(shown, SizeIs(2));
    EXPECT_THAT(shown[0], HasSubstr("missing.pem"));
    EXPECT_THAT(shown[1], HasSubstr("No certificate"));
    EXPECT_EQ(Sent(), 0.0f);

    // The file is read anew on every call: once it is right, requests go through.
    TrustSandbox();
    EXPECT_EQ(T().HttpsGet(Box().HttpsUrl("/test/zero")).size(), 5u);
}

TEST_F(TransportTest, StatusOtherThan200GivesEmptyAndCountsTheUrl) {
    TrustSandbox();
    const std::string u404 = Box().HttpsUrl("/test/status/404");
    const std::string u500 = Box().HttpUrl("/test/status/500");
    const std::string u204 = Box().HttpsUrl("/test/status/204");
    EXPECT_EQ(T().HttpsGet(u404), "");
    EXPECT_EQ(T().HttpGet(u500), "") << "no error marker for a status";
    EXPECT_EQ(T().HttpsGet(u204), "");
    EXPECT_THAT(Shown(), IsEmpty());
    EXPECT_THAT(Notified(), IsEmpty());
    EXPECT_EQ(Sent(), static_cast<float>(u404.size() + u500.size() + u204.size()));
    EXPECT_EQ(Received(), 0.0f) << "bodies of other statuses are not counted";
    EXPECT_THAT(Traffic(), SizeIs(3));
}

TEST_F(TransportTest, HttpGetUsesThePortTheUrlNames) {
    ASSERT_NE(Box().HttpPort(), 80);
    EXPECT_THAT(T().HttpGet(Box().HttpUrl("/")), HasSubstr("Purseward sandbox"));
    EXPECT_THAT(Shown(), IsEmpty());
}

TEST_F(TransportTest, TheSchemeOfTheUrlDoesNotChooseTheProtocol) {
    // HttpsGet always speaks TLS and HttpGet never does, whatever the URL's scheme says.
    TrustSandbox();
    const std::string port = std::to_string(Box().HttpsPort());
    EXPECT_EQ(T().HttpsGet("http://127.0.0.1:" + port + "/test/zero").size(), 5u);
    EXPECT_THAT(T().HttpGet("https://" + Box().HttpHost() + "/"), HasSubstr("Purseward sandbox"));
}

TEST_F(TransportTest, SendsTheUserAgentsAndTheQueryUnchanged) {
    TrustSandbox();
    const std::string secure = T().HttpsGet(Box().HttpsUrl("/test/echo?a=1&b=x%20y&c="));
    EXPECT_THAT(secure, HasSubstr("request: GET /test/echo?a=1&b=x%20y&c= HTTP/1.1\n"));
    EXPECT_THAT(secure, HasSubstr("user-agent: Purseward\n"));
    const std::string plain = T().HttpGet(Box().HttpUrl("/test/echo?x=2"));
    EXPECT_THAT(plain, HasSubstr("query: x=2\n"));
    EXPECT_THAT(plain, HasSubstr("user-agent: Purseward 2.9.3\n"));
    EXPECT_THAT(plain, HasSubstr("via: \n")) << "no proxy configured";
}

// The request line carries the URL as the client built it; a URL that could only go out
// altered (encoded, without its fragment) is refused before any traffic.
TEST_F(TransportTest, TheRequestLineCarriesTheUrlUnchangedOrNothingIsSent) {
    struct Case {
        std::string object;
        bool sent;
    };
    const Case cases[] = {
        {"/test/echo?a=%7e&b=~&c=x%2Fy&d=a/../b", true},
        {"/test/echo?q=a b", false},
        {"/test/echo?q=\xC3\xA9", false},
        {"/test/echo?q=1#part", false},
        {"/test/echo?q=\x01", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.object);
        const std::string answer = T().HttpGet(Box().HttpUrl(c.object));
        if (c.sent) {
            EXPECT_THAT(answer, HasSubstr("request: GET " + c.object + " HTTP/1.1\n"));
        } else {
            EXPECT_EQ(answer, "-=Error=- : AfxParseURL Error");
        }
    }
    EXPECT_EQ(Sent(), static_cast<float>(Box().HttpUrl(cases[0].object).size()));
}

TEST_F(TransportTest, LargeAndBinaryBodiesArriveWhole) {
    TrustSandbox();
    const size_t n = 3 * 1024 * 1024 + 17;
    const std::string big = T().HttpsGet(Box().HttpsUrl("/test/big?bytes=" + std::to_string(n)));
    ASSERT_EQ(big.size(), n);
    EXPECT_TRUE(big == Pattern(n));
    EXPECT_EQ(T().HttpGet(Box().HttpUrl("/test/zero")), std::string("a\0b\0c", 5));
    EXPECT_EQ(Received(), static_cast<float>(n + 5));
}

TEST_F(TransportTest, ABodyBeyondTheLimitFails) {
    TrustSandbox();
    T().SetBodyLimit(1000);
    EXPECT_EQ(T().HttpsGet(Box().HttpsUrl("/test/big?bytes=1000")).size(), 1000u);
    EXPECT_THAT(Shown(), IsEmpty());
    const std::string partial = T().HttpsGet(Box().HttpsUrl("/test/big?bytes=5000"));
    EXPECT_LE(partial.size(), 1000u);
    ASSERT_THAT(Shown(), SizeIs(1));
    EXPECT_THAT(Shown()[0], HasSubstr("larger than 1000 bytes"));
    EXPECT_EQ(T().HttpGet(Box().HttpUrl("/test/big?bytes=5000")),
              "-=Error=- : The answer is larger than 1000 bytes.");
}

TEST_F(TransportTest, ACutConnectionIsReportedWithWhatWasRead) {
    TrustSandbox();
    const std::string url = Box().HttpsUrl("/test/cut");
    const std::string got = T().HttpsGet(url);
    EXPECT_EQ(got, std::string(100, 'x')) << "HttpsGet keeps what it read before the break";
    ASSERT_THAT(Shown(), SizeIs(1));
    EXPECT_FALSE(Shown()[0].empty());
    EXPECT_EQ(Sent(), static_cast<float>(url.size()));
    EXPECT_EQ(Received(), 100.0f);

    const std::string plain = T().HttpGet(Box().HttpUrl("/test/cut"));
    EXPECT_EQ(plain.rfind("-=Error=- : ", 0), 0u) << plain;
    EXPECT_THAT(plain, Not(HasSubstr("xxx"))) << "the error replaces what was read";
}

TEST_F(TransportTest, AnUnreachableServerIsReportedAndNotCounted) {
    const int closed = FreeLoopbackPort();
    const std::string url = "https://127.0.0.1:" + std::to_string(closed) + "/x";
    EXPECT_EQ(T().HttpsGet(url), "");
    ASSERT_THAT(Shown(), SizeIs(1));
    EXPECT_THAT(Shown()[0], HasSubstr("127.0.0.1"));
    const std::string plain = T().HttpGet("http://127.0.0.1:" + std::to_string(closed) + "/x");
    EXPECT_EQ(plain.rfind("-=Error=- : ", 0), 0u);
    EXPECT_GT(plain.size(), 12u);
    EXPECT_EQ(Sent(), 0.0f);
    EXPECT_THAT(Traffic(), ElementsAre("Send/Received (KB) : 0.000/0.000",
                                       "Send/Received (KB) : 0.000/0.000"));
}

TEST_F(TransportTest, AnIdleTransferIsAbortedAfterTheIdleTime) {
    TrustSandbox();
    timeouts_.idle = std::chrono::seconds(1);
    const auto start = std::chrono::steady_clock::now();
    const std::string got = T().HttpsGet(Box().HttpsUrl("/test/stall?ms=20000"));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(4));
    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_EQ(got, "stalling..");
    ASSERT_THAT(Shown(), SizeIs(1));
    EXPECT_EQ(Shown()[0], "No data received for 1 seconds.");

    // A server that waits before its answer, but less than the idle time, is fine.
    EXPECT_EQ(T().HttpsGet(Box().HttpsUrl("/test/slow?ms=300")), "slow\n");
    // One that waits longer before answering at all is also cut off.
    const auto start2 = std::chrono::steady_clock::now();
    EXPECT_EQ(T().HttpGet(Box().HttpUrl("/test/slow?ms=20000")).rfind("-=Error=- : ", 0), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start2, std::chrono::seconds(4));
}

TEST_F(TransportTest, ATransferThatKeepsReceivingIsNotAborted) {
    // One byte every 1.2 s stays under one byte a second, but no gap reaches the idle time.
    TrustSandbox();
    timeouts_.idle = std::chrono::seconds(2);
    EXPECT_EQ(T().HttpsGet(Box().HttpsUrl("/test/trickle?bytes=4&ms=1200")), "tttt");
    EXPECT_THAT(Shown(), IsEmpty());
}

TEST_F(TransportTest, FailuresGoToTheTrayWhileTheWindowIsHidden) {
    const std::string url = "https://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/x";
    hidden_ = true;
    EXPECT_EQ(T().HttpsGet(url), "");
    EXPECT_THAT(Shown(), IsEmpty());
    ASSERT_THAT(Notified(), SizeIs(1));
    hidden_ = false;
    EXPECT_EQ(T().HttpsGet(url), "");
    EXPECT_THAT(Notified(), SizeIs(1));
    ASSERT_THAT(Shown(), SizeIs(1));
    // The same failure, worded by the library (its wording carries a time in ms that varies).
    EXPECT_THAT(Shown()[0], HasSubstr("Couldn't connect to server"));
    EXPECT_THAT(Notified()[0], HasSubstr("Couldn't connect to server"));
    // The parse message is a message box even while hidden.
    hidden_ = true;
    T().HttpsGet("no-scheme");
    ASSERT_THAT(Shown(), SizeIs(2));
    EXPECT_EQ(Shown()[1], "AfxParseURL Error");
    EXPECT_THAT(Notified(), SizeIs(1));
}

TEST_F(TransportTest, NoMessageShowsTheQuery) {
    const std::string secret = "pass=TopSecret4711";
    const std::string closed = std::to_string(FreeLoopbackPort());
    T().SetBodyLimit(10);
    T().HttpsGet("https://127.0.0.1:" + closed + "/api?" + secret);
    T().HttpsGet(Box().HttpsUrl("/test/zero?" + secret));  // untrusted authority
    TrustSandbox();
    T().HttpsGet(Box().HttpsUrl("/test/cut?" + secret));
    T().HttpsGet(Box().HttpsUrl("/test/big?bytes=100&" + secret));
    std::vector<std::string> all = Shown();
    all.push_back(T().HttpGet("http://127.0.0.1:" + closed + "/api?" + secret));
    all.push_back(T().HttpGet(Box().HttpUrl("/test/cut?" + secret)));
    ASSERT_THAT(all, SizeIs(6));
    for (const auto& m : all) EXPECT_THAT(m, Not(HasSubstr("TopSecret4711"))) << m;
}

TEST_F(TransportTest, EmptyHooksAreAllowed) {
    CurlTransport bare(settings_, counter_, TransportHooks{}, timeouts_);
    EXPECT_EQ(bare.HttpsGet("nothing"), "");
    EXPECT_EQ(bare.HttpsGet("https://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/"), "");
    EXPECT_EQ(bare.HttpsGet(Box().HttpsUrl("/test/zero")), "");
}

}  // namespace
}  // namespace pw::test

namespace pw::test {
namespace {

// What became of each request, as the payment path sees it; nothing is shown to the user.
TEST_F(TransportTest, ExchangeTellsWhetherTheRequestWentOut) {
    TrustSandbox();
    timeouts_.idle = std::chrono::seconds(1);
    const std::string closed = "https://127.0.0.1:" + std::to_string(FreeLoopbackPort()) + "/x";
    const struct {
        std::string url;
        Outcome outcome;
        FailureKind failure;
        std::string body;
    } cases[] = {
        {Box().HttpsUrl("/test/zero"), Outcome::Answered, FailureKind::None,
         std::string("a\0b\0c", 5)},
        {closed, Outcome::NotSent, FailureKind::Connect, ""},
        {"no url at all", Outcome::NotSent, FailureKind::Other, ""},
        {Box().ExpiredUrl("/test/zero"), Outcome::NotSent, FailureKind::Tls, ""},
        {Box().HttpsUrl("/test/status/500"), Outcome::Unknown, FailureKind::HttpStatus, ""},
        {Box().HttpsUrl("/test/cut"), Outcome::Unknown, FailureKind::CutAnswer,
         std::string(100, 'x')},
        {Box().HttpsUrl("/test/stall?ms=20000"), Outcome::Unknown, FailureKind::Timeout,
         "stalling.."},
    };
    for (const auto& c : cases) {
        const Exchanged r = T().Exchange(c.url, true, nullptr);
        EXPECT_EQ(r.outcome, c.outcome) << c.url << ": " << OutcomeName(r.outcome) << " " << r.text;
        EXPECT_EQ(r.failure, c.failure) << c.url << ": " << r.text;
        EXPECT_EQ(r.body, c.body) << c.url;
        EXPECT_EQ(r.text.empty(), c.outcome == Outcome::Answered) << c.url;
    }
    EXPECT_THAT(Shown(), IsEmpty());
    EXPECT_THAT(Notified(), IsEmpty());
    TransferControl cancelled(true);
    cancelled.Cancel();
    const Exchanged r = T().Exchange(Box().HttpsUrl("/test/zero"), true, &cancelled);
    EXPECT_EQ(r.outcome, Outcome::NotSent);
    EXPECT_EQ(r.failure, FailureKind::Cancelled);
    EXPECT_EQ(r.text, kCancelledPaymentText);
}

}  // namespace
}  // namespace pw::test
