// Requests of the window's thread: the window keeps answering while one waits, input is held
// off except for Cancel, the status line shows the progress, and a close waits for the end.
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "app/gui/request_wait.h"
#include "shell_fixture.h"
#include "support/sandbox.h"

namespace pw::test {
namespace {

// Runs every 10 ms while a request waits: measures the longest gap between two turns of the
// event loop and runs the test's steps at the elapsed times they name.
class Ticker {
public:
    explicit Ticker(std::function<void(qint64 elapsedMs)> step) : step_(std::move(step)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.elapsed();
            longestGap_ = std::max(longestGap_, now - last_);
            last_ = now;
            ++turns_;
            step_(now);
        });
    }
    void Start() {
        clock_.start();
        last_ = 0;
        timer_.start();
    }
    void Stop() { timer_.stop(); }
    qint64 Elapsed() const { return clock_.elapsed(); }
    qint64 LongestGap() const { return longestGap_; }
    int Turns() const { return turns_; }

private:
    std::function<void(qint64)> step_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0, longestGap_ = 0;
    int turns_ = 0;
};

class RequestWaitTest : public ShellTest {
protected:
    static void SetUpTestSuite() {
        ShellTest::SetUpTestSuite();
        sandbox_ = new Sandbox();
    }
    static void TearDownTestSuite() {
        delete sandbox_;
        sandbox_ = nullptr;
    }

    void SetUp() override {
        ShellTest::SetUp();
        WriteSettings("CACertFile=" + sandbox_->CaPath() + "\n");
        realTransport_ = true;
        w_ = MakeWindow();
        // A field and a button on the current tab page stand for the tab's controls.
        QWidget* page = w_->Tabs()->currentWidget();
        auto* layout = new QVBoxLayout(page);
        edit_ = new QLineEdit(page);
        button_ = new QPushButton(QStringLiteral("Go"), page);
        layout->addWidget(edit_);
        layout->addWidget(button_);
        QObject::connect(button_, &QPushButton::clicked, [this] { ++clicks_; });
        w_->show();
        edit_->setFocus();
    }

    static inline Sandbox* sandbox_ = nullptr;
    std::unique_ptr<CPursewardDlg> w_;
    QLineEdit* edit_ = nullptr;
    QPushButton* button_ = nullptr;
    int clicks_ = 0;
};

TEST_F(RequestWaitTest, TheWindowAnswersHoldsInputAndShowsTheProgressWhileARequestWaits) {
    std::vector<std::pair<qint64, QString>> progress;  // elapsed ms, text while shown
    bool inputSent = false, clockMoved = false, waitingSeen = true;
    QString clockDuringWait;
    Ticker ticker([&](qint64 ms) {
        waitingSeen = waitingSeen && w_->RequestWaiting();
        if (w_->Progress()->isVisible()) progress.emplace_back(ms, w_->Progress()->Text());
        if (ms > 100 && !inputSent) {
            inputSent = true;
            QTest::keyClicks(edit_, QStringLiteral("abc"));
            QTest::mouseClick(button_, Qt::LeftButton);
            QTest::keyClick(button_, Qt::Key_Space);
        }
        if (ms > 200 && !clockMoved) {
            clockMoved = true;
            clock_.Advance(60);  // the minute timer falls due during the wait
            clockDuringWait = w_->ClockField()->text();
        }
    });
    w_->SetRequestTopic({"Liberty Reserve", false});
    ticker.Start();
    const std::string body = w_->HttpsGet(sandbox_->HttpsUrl("/test/trickle?bytes=12&ms=100"));
    const qint64 took = ticker.Elapsed();
    ticker.Stop();

    EXPECT_EQ(body, std::string(12, 't'));
    EXPECT_TRUE(ui_.messages.empty());
    EXPECT_GE(took, 1100);
    EXPECT_TRUE(waitingSeen);
    EXPECT_FALSE(w_->RequestWaiting());
    // The loop kept turning: the window never went longer than a fraction of a second.
    EXPECT_GT(ticker.Turns(), 50);
    EXPECT_LT(ticker.LongestGap(), 300);
    RecordProperty("LongestGapMs", static_cast<int>(ticker.LongestGap()));
    // Nothing typed or clicked during the wait arrived.
    EXPECT_EQ(edit_->text(), "");
    EXPECT_EQ(clicks_, 0);
    EXPECT_EQ(clockDuringWait, "Date-Time GMT : 2009-10-04 12:35");
    // The strip came after half a second, named the system and counted the bytes up.
    ASSERT_FALSE(progress.empty());
    EXPECT_GE(progress.front().first, RequestWaiter::kShowAfterMs * 8 / 10);  // coarse timers
    std::vector<int> counts;
    for (const auto& [ms, text] : progress) {
        ASSERT_TRUE(text.startsWith("Waiting for Liberty Reserve: ")) << text.toStdString();
        ASSERT_TRUE(text.endsWith(" bytes received")) << text.toStdString();
        const int n = text.section(' ', 4, 4).toInt();
        if (counts.empty() || counts.back() != n) counts.push_back(n);
    }
    EXPECT_GE(counts.size(), 3u);
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end()));
    EXPECT_FALSE(w_->Progress()->isVisible());
    // The traffic field changed when the request ended.
    EXPECT_TRUE(w_->TrafficField()->text().endsWith("/0.012"));

    // Afterwards input reaches the controls again.
    QTest::keyClicks(edit_, QStringLiteral("abc"));
    QTest::mouseClick(button_, Qt::LeftButton);
    EXPECT_EQ(edit_->text(), "abc");
    EXPECT_EQ(clicks_, 1);
}

TEST_F(RequestWaitTest, CancelAndEscapeEndTheRequestWithinHalfASecond) {
    struct Case {
        const char* name;
        bool escape;      // Escape in the tab's field, else a click on Cancel
        bool secure;
        bool sendsMoney;
        std::string result;
        std::string message;  // "": none
    };
    const std::vector<Case> cases = {
        {"click", false, true, false, "", kCancelledText},
        {"escape", true, true, false, "", kCancelledText},
        {"payment", true, true, true, "", kCancelledPaymentText},
        {"page", false, false, false, std::string("-=Error=- : ") + kCancelledText, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui_.messages.clear();
        qint64 cancelledAt = -1;
        Ticker ticker([&](qint64 ms) {
            if (ms < 700 || cancelledAt >= 0) return;
            cancelledAt = ms;
            if (c.escape) QTest::keyClick(edit_, Qt::Key_Escape);
            else QTest::mouseClick(w_->Progress()->CancelButton(), Qt::LeftButton);
        });
        w_->SetRequestTopic({"Liberty Reserve", c.sendsMoney});
        ticker.Start();
        const std::string route = "/test/trickle?bytes=100&ms=200";
        const std::string result = c.secure ? w_->HttpsGet(sandbox_->HttpsUrl(route))
                                            : w_->HttpGet(sandbox_->HttpUrl(route));
        const qint64 endedAt = ticker.Elapsed();
        ticker.Stop();
        ASSERT_GE(cancelledAt, 0);
        EXPECT_LT(endedAt - cancelledAt, 500);
        RecordProperty(std::string("CancelMs_") + c.name, static_cast<int>(endedAt - cancelledAt));
        EXPECT_EQ(result, c.result);
        if (c.message.empty()) EXPECT_TRUE(ui_.messages.empty());
        else EXPECT_EQ(ui_.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(edit_->text(), "");
    }
}

TEST_F(RequestWaitTest, ARaiseAndACloseDuringAWaitRunOnceWhenItHasEnded) {
    w_->hide();
    bool closed = false, raisedBeforeClose = false;
    QObject::connect(w_.get(), &CPursewardDlg::Closed, [&] {
        closed = true;
        raisedBeforeClose = w_->isVisible();
    });
    ui_.yesNo.push_back(true);
    bool closeResult = true, shownDuringWait = false;
    size_t asked = 99;
    Ticker ticker([&](qint64 ms) {
        shownDuringWait = shownDuringWait || w_->isVisible();
        if (ms > 200 && asked == 99) {
            w_->BringToFront();  // a second start of the program
            w_->BringToFront();
            closeResult = w_->close();
            w_->close();  // a second close is not a second question
            asked = ui_.messages.size();
        }
    });
    ticker.Start();
    const std::string body = w_->HttpsGet(sandbox_->HttpsUrl("/test/slow?ms=800"));
    ticker.Stop();
    EXPECT_EQ(body, "slow\n");
    EXPECT_FALSE(closeResult);
    EXPECT_EQ(asked, 0u);
    EXPECT_FALSE(shownDuringWait);
    // The caller's next step runs before the held commands.
    EXPECT_FALSE(closed);
    EXPECT_TRUE(WaitFor([&] { return closed; }));
    EXPECT_TRUE(raisedBeforeClose);
    EXPECT_EQ(ui_.messages, std::vector<std::string>{"Close Program ?"});
    EXPECT_FALSE(w_->isVisible());
}

}  // namespace
}  // namespace pw::test
