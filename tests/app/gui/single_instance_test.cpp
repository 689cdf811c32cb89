// One instance per user: the lock, the request to bring the window forward, and a real
// second start of the program against a running first one.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <QUuid>
#include <future>

#include "app/gui/single_instance.h"
#include "settings/migration.h"
#include "settings/passwords.h"
#include "settings/settings_store.h"
#include "shell_fixture.h"

namespace pw::test {
namespace {

QString UniqueName() {
    return "pw-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Asks from another thread while this one keeps answering.
bool AskWhileServing(const QString& name, int timeoutMs) {
    auto asked = std::async(std::launch::async, [name, timeoutMs] {
        return SingleInstance(name).AskRunningToActivate(timeoutMs);
    });
    while (asked.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return asked.get();
}

class SingleInstanceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
    QTemporaryDir lockDir_;
};

TEST_F(SingleInstanceTest, OnlyTheFirstTakesTheLock) {
    const QString name = UniqueName();
    SingleInstance first(name, lockDir_.path());
    ASSERT_TRUE(first.Acquire([] { return true; }));
    EXPECT_TRUE(first.IsPrimary());
    SingleInstance second(name, lockDir_.path());
    EXPECT_FALSE(second.Acquire([] { return true; }));
    EXPECT_FALSE(second.IsPrimary());
}

TEST_F(SingleInstanceTest, TheLockIsFreeAgainWhenTheFirstEnds) {
    const QString name = UniqueName();
    {
        SingleInstance first(name, lockDir_.path());
        ASSERT_TRUE(first.Acquire([] { return true; }));
    }
    SingleInstance later(name, lockDir_.path());
    EXPECT_TRUE(later.Acquire([] { return true; }));
}

TEST_F(SingleInstanceTest, TheRunningOneAnswersWhetherItHasAWindow) {
    const QString name = UniqueName();
    bool hasWindow = false;
    int asked = 0;
    SingleInstance first(name, lockDir_.path());
    ASSERT_TRUE(first.Acquire([&] {
        ++asked;
        return hasWindow;
    }));
    EXPECT_FALSE(AskWhileServing(name, 2000));  // "no window": the second start goes on
    hasWindow = true;
    EXPECT_TRUE(AskWhileServing(name, 2000));
    EXPECT_EQ(asked, 2);
}

TEST_F(SingleInstanceTest, NobodyListeningOrASilentListenerMeansGoOn) {
    EXPECT_FALSE(SingleInstance(UniqueName()).AskRunningToActivate(500));
    // Something holds the name but never answers: give up after the time-out.
    const QString name = UniqueName();
    QLocalServer silent;
    ASSERT_TRUE(silent.listen(name));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(AskWhileServing(name, 300));
    EXPECT_LT(timer.elapsed(), 3000);
    // Garbage instead of an answer is no answer either.
    QObject::connect(&silent, &QLocalServer::newConnection, [&] {
        QLocalSocket* s = silent.nextPendingConnection();
        s->write("\x01\x02 shown?\n");
        s->flush();
    });
    EXPECT_FALSE(AskWhileServing(name, 500));
}

// The real program, started twice in a working directory of its own.
class SecondStartTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        const std::string base = dir_.path().toStdString() + "/";
        struct NoEarlierVersion : LegacyProfile {
            bool ReadString(const std::string&, std::string&) const override { return false; }
            bool ReadInt(const std::string&, int&) const override { return false; }
        };
        ASSERT_TRUE(QDir().mkpath(dir_.path() + "/Set"));
        ASSERT_TRUE(RunFirstRunMigration(base + "Set/Purseward.ini", KeyFilePath("", base),
                                         NoEarlierVersion(), "04/10/2009"));
        // The children keep their profile, lock and socket in here, away from the user's.
        for (const char* sub : {"config", "runtime", "tmp"}) ASSERT_TRUE(QDir().mkpath(Path(sub)));
        QFile::setPermissions(Path("runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                   QFileDevice::ExeOwner);
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert("QT_QPA_PLATFORM", "offscreen");
        env_.insert("XDG_CONFIG_HOME", Path("config"));
        env_.insert("XDG_RUNTIME_DIR", Path("runtime"));
        env_.insert("TMPDIR", Path("tmp"));
    }

    void TearDown() override {
        for (QProcess* p : {&first_, &second_}) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

    QString Path(const char* sub) const { return dir_.path() + "/" + sub; }

    void Start(QProcess& p) {
        p.setWorkingDirectory(dir_.path());
        p.setProcessEnvironment(env_);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QStringLiteral(PW_PROGRAM_PATH), {});
        ASSERT_TRUE(p.waitForStarted(10000));
    }

    // The first instance's socket, where the children put it.
    QString SocketPath() const { return Path("tmp") + "/" + InstanceName(); }

    QTemporaryDir dir_;
    QProcessEnvironment env_;
    QProcess first_, second_;
};

TEST_F(SecondStartTest, SecondStartExitsAtOnceWhileTheFirstRunsOn) {
    Start(first_);
    // Ready once the first answers that it brought its window forward.
    QElapsedTimer ready;
    ready.start();
    bool answered = false;
    while (!answered && ready.elapsed() < 30000 && first_.state() == QProcess::Running) {
        answered = SingleInstance(SocketPath()).AskRunningToActivate(1000);
        if (!answered) QThread::msleep(100);
    }
    ASSERT_TRUE(answered) << "the first instance never showed its window";

    QElapsedTimer took;
    took.start();
    Start(second_);
    ASSERT_TRUE(second_.waitForFinished(15000));
    EXPECT_EQ(second_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second_.exitCode(), 0);
    EXPECT_LT(took.elapsed(), 15000);
    EXPECT_EQ(first_.state(), QProcess::Running);

    first_.terminate();
    EXPECT_TRUE(first_.waitForFinished(10000));
}

TEST_F(SecondStartTest, WhileTheFirstWaitsAtItsPasswordPromptTheSecondGoesOn) {
    // A run password makes the first stop at its prompt, before it has a window.
    SettingsStore store(dir_.path().toStdString() + "/Set/Purseward.ini", "");
    store.WriteString("Setting", "Pass1", std::string(64, 'A'));
    Start(first_);
    ASSERT_TRUE([&] {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 30000) {
            QLocalSocket s;
            s.connectToServer(SocketPath());
            if (s.waitForConnected(200)) return true;
            QThread::msleep(100);
        }
        return false;
    }());
    Start(second_);
    // It answered "no window": the second starts a run of its own and waits at its prompt.
    EXPECT_FALSE(second_.waitForFinished(4000));
    EXPECT_EQ(second_.state(), QProcess::Running);
    EXPECT_EQ(first_.state(), QProcess::Running);
}

}  // namespace
}  // namespace pw::test
