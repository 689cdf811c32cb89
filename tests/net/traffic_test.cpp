// The traffic counter: what is counted, the text, the lock, and two threads at once.
#include <atomic>
#include <thread>

#include "net/scrub.h"
#include "transport_fixture.h"

namespace pw::test {
namespace {

using ::testing::IsEmpty;

// A sandbox URL padded in its query to exactly `length` characters.
std::string Padded(const std::string& base, size_t length) {
    std::string url = base + "&pad=";
    EXPECT_LE(url.size(), length);
    url.append(length - url.size(), 'p');
    return url;
}

TEST(TrafficText, FormatsKilobytesAfterTheCaption) {
    EXPECT_EQ(FormatTraffic(0, 0), "Send/Received (KB) : 0.000/0.000");
    EXPECT_EQ(FormatTraffic(224, 2048), "Send/Received (KB) : 0.219/2.000");
    EXPECT_EQ(FormatTraffic(1536, 1048576), "Send/Received (KB) : 1.500/1024.000");
    TrafficCounter c;
    c.sent = 1024;
    EXPECT_EQ(TrafficText(c), "Send/Received (KB) : 1.000/0.000");
}

TEST(TrafficText, AnUpdateThatCannotTakeTheLockIsSkipped) {
    TrafficCounter c;
    std::atomic<bool> locked{false};
    std::thread holder([&] {
        std::lock_guard<std::timed_mutex> lock(c.statusLock);
        locked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    });
    while (!locked) std::this_thread::yield();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(AddTraffic(c, 10, 20));
    EXPECT_EQ(TrafficText(c), "");
    const auto waited = std::chrono::steady_clock::now() - start;
    holder.join();
    EXPECT_GE(waited, std::chrono::milliseconds(1900)) << "each wait is bounded at 1000 ms";
    EXPECT_EQ(c.sent, 0.0f);
    EXPECT_TRUE(AddTraffic(c, 10, 20));
    EXPECT_EQ(c.sent, 10.0f);
    EXPECT_EQ(c.received, 20.0f);
}

TEST_F(TransportTest, TwoRequestsReadTheDocumentedTrafficFigures) {
    TrustSandbox();
    const std::string a = Padded(Box().HttpsUrl("/test/big?bytes=1500"), 100);
    const std::string b = Padded(Box().HttpUrl("/test/big?bytes=548"), 124);
    ASSERT_EQ(a.size(), 100u);
    ASSERT_EQ(b.size(), 124u);
    EXPECT_EQ(T().HttpsGet(a).size(), 1500u);
    EXPECT_EQ(T().HttpGet(b).size(), 548u);
    ASSERT_EQ(Traffic().size(), 2u);
    EXPECT_EQ(Traffic()[0], "Send/Received (KB) : 0.098/1.465");
    EXPECT_EQ(Traffic()[1], "Send/Received (KB) : 0.219/2.000");
}

TEST_F(TransportTest, ABusyStatusLockDelaysButDoesNotBreakARequest) {
    TrustSandbox();
    std::atomic<bool> locked{false}, done{false};
    std::thread holder([&] {
        std::lock_guard<std::timed_mutex> lock(counter_.statusLock);
        locked = true;
        while (!done) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    while (!locked) std::this_thread::yield();
    const auto start = std::chrono::steady_clock::now();
    const std::string body = T().HttpsGet(Box().HttpsUrl("/test/zero"));
    const auto took = std::chrono::steady_clock::now() - start;
    done = true;
    holder.join();
    EXPECT_EQ(body, std::string("a\0b\0c", 5));
    EXPECT_GE(took, std::chrono::milliseconds(2900)) << "sent, received, text: 1000 ms each";
    EXPECT_EQ(Sent(), 0.0f) << "the counts were skipped, not made without the lock";
    EXPECT_EQ(Received(), 0.0f);
    EXPECT_THAT(Traffic(), IsEmpty());
}

TEST_F(TransportTest, ConcurrentCallsKeepTheCountersExact) {
    TrustSandbox();
    const int rounds = 15;
    const std::string secureUrl = Box().HttpsUrl("/test/big?bytes=3001");
    const std::string plainUrl = Box().HttpUrl("/test/big?bytes=70000&x=1");
    std::atomic<int> bad{0};
    CurlTransport& transport = T();  // one transport, shared by both threads
    std::thread worker([&] {
        for (int i = 0; i < rounds; ++i)
            if (transport.HttpGet(plainUrl).size() != 70000u) ++bad;
    });
    for (int i = 0; i < rounds; ++i)
        if (transport.HttpsGet(secureUrl).size() != 3001u) ++bad;
    worker.join();
    EXPECT_EQ(bad.load(), 0);
    EXPECT_EQ(Sent(), static_cast<float>(rounds * (secureUrl.size() + plainUrl.size())));
    EXPECT_EQ(Received(), static_cast<float>(rounds * (3001 + 70000)));
    EXPECT_EQ(Traffic().size(), static_cast<size_t>(2 * rounds));
    EXPECT_THAT(Shown(), IsEmpty());
}

TEST(ScrubSecrets, ReplacesEveryOccurrenceLongestFirst) {
    EXPECT_EQ(ScrubSecrets("at https://h/p?k=1 and k=1", {"k=1", "https://h/p?k=1"}),
              "at *** and ***");
    EXPECT_EQ(ScrubSecrets("aaaa", {"aa"}), "******");
    EXPECT_EQ(ScrubSecrets("keep", {"", "zz"}), "keep");
}

}  // namespace
}  // namespace pw::test
