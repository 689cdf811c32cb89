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
#include <csignal>
#include <functional>

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

class SingleInstanceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApp(); }
    QTemporaryDir dir_;
};

TEST_F(SingleInstanceTest, OnlyTheFirstTakesTheLockAndItIsFreeAgainWhenTheFirstEnds) {
    const QString name = UniqueName();
    {
        SingleInstance first(name, dir_.path());
        ASSERT_TRUE(first.Acquire());
        EXPECT_TRUE(first.IsPrimary());
        EXPECT_TRUE(QFile::exists(first.LockPath()));
        SingleInstance second(name, dir_.path());
        EXPECT_FALSE(second.Acquire());
        EXPECT_FALSE(second.IsPrimary());
    }
    SingleInstance later(name, dir_.path());
    EXPECT_TRUE(later.Acquire());
}

// A later start knows whether a window exists from the socket alone, at once, even when the
// running instance does not get to answer; the request is handled once it is free.
TEST_F(SingleInstanceTest, AWindowIsSeenWithoutAnAnswer) {
    struct Case {
        const char* name;
        bool windowShown;  // the first listens
        bool staleSocket;  // a crashed instance left its socket file
    };
    for (const Case& c : {Case{"at its password prompt", false, false},
                          Case{"prompt, stale socket file", false, true},
                          Case{"window shown", true, false},
                          Case{"window shown over a stale socket file", true, true}}) {
        const QString name = UniqueName();
        SingleInstance first(name, dir_.path());
        ASSERT_TRUE(first.Acquire());
        if (c.staleSocket) {  // nobody accepts on it
            QFile leftover(first.SocketPath());
            ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
        }
        int activated = 0;
        if (c.windowShown) {
            ASSERT_TRUE(first.Listen([&] { ++activated; }));
        }
        // The first does not handle events while the second asks.
        QElapsedTimer took;
        took.start();
        EXPECT_EQ(SingleInstance(name, dir_.path()).AskRunningToActivate(), c.windowShown)
            << c.name;
        EXPECT_LT(took.elapsed(), 2500) << c.name;
        EXPECT_EQ(activated, 0) << c.name;
        WaitFor([&] { return activated > 0; }, c.windowShown ? 3000 : 200);
        EXPECT_EQ(activated, c.windowShown ? 1 : 0) << c.name;
    }
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

    // The first instance's lock and socket, in the children's runtime folder.
    QString RuntimePath(const QString& suffix = QString()) const {
        return Path("runtime") + "/" + InstanceName() + suffix;
    }

    QTemporaryDir dir_;
    QProcessEnvironment env_;
    QProcess first_, second_;
};

bool WaitUntil(const std::function<bool()>& cond, int ms) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > ms) return false;
        QThread::msleep(50);
    }
    return true;
}

// A first instance that is busy (here: stopped) with its window shown: the second start
// ends within seconds without a window of its own.
TEST_F(SecondStartTest, SecondStartEndsAtOnceWhileTheFirstIsBusy) {
    Start(first_);
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(RuntimePath()); }, 30000))
        << "the first instance never showed its window";
    EXPECT_TRUE(QFile::exists(RuntimePath(".lock")));
    EXPECT_TRUE(QDir(Path("tmp")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries |
                                            QDir::System).isEmpty());
    ASSERT_EQ(::kill(static_cast<pid_t>(first_.processId()), SIGSTOP), 0);
    QElapsedTimer took;
    took.start();
    Start(second_);
    const bool ended = second_.waitForFinished(10000);
    ::kill(static_cast<pid_t>(first_.processId()), SIGCONT);
    ASSERT_TRUE(ended);
    EXPECT_EQ(second_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second_.exitCode(), 0);
    EXPECT_LT(took.elapsed(), 10000);
    EXPECT_EQ(first_.state(), QProcess::Running);

    first_.terminate();
    EXPECT_TRUE(first_.waitForFinished(10000));
}

TEST_F(SecondStartTest, WhileTheFirstWaitsAtItsPasswordPromptTheSecondGoesOn) {
    // A run password makes the first stop at its prompt, before it has a window.
    SettingsStore store(dir_.path().toStdString() + "/Set/Purseward.ini", "");
    store.WriteString("Setting", "Pass1", std::string(64, 'A'));
    Start(first_);
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(RuntimePath(".lock")); }, 30000));
    QThread::msleep(500);
    Start(second_);
    // No window yet: the second starts a run of its own and waits at its prompt.
    EXPECT_FALSE(second_.waitForFinished(4000));
    EXPECT_EQ(second_.state(), QProcess::Running);
    EXPECT_EQ(first_.state(), QProcess::Running);
}

}  // namespace
}  // namespace pw::test
