#include "shell_fixture.h"

#include <QFile>
#include <QSettings>

#include "accounts/gui/account_tab_api.h"
#include "ui/window_placement.h"

namespace pw::test {
namespace {

// A tab page that only records when it is asked to save.
class RecordingTab : public AccountTabWidget {
public:
    RecordingTab(int system, std::vector<int>& saves, QWidget* parent)
        : AccountTabWidget(system, parent), saves_(saves) {}
    void SaveState() override { saves_.push_back(SystemIndex()); }

private:
    std::vector<int>& saves_;
};

}  // namespace

TransportScript::Answer ScriptedTransport::Next(const std::string& url) {
    script_.urls.emplace_back(url);
    TransportScript::Answer answer;
    if (!script_.answers.empty()) {
        answer = script_.answers.front();
        script_.answers.pop_front();
    }
    std::lock_guard<std::timed_mutex> lock(counter_.statusLock);
    counter_.sent += static_cast<float>(url.size());
    if (answer.failure.empty()) counter_.received += static_cast<float>(answer.body.size());
    return answer;
}

Exchanged ScriptedTransport::Exchange(const SecureString& url, bool, TransferControl*) {
    const TransportScript::Answer answer = Next(std::string(url));
    Exchanged r;
    if (answer.failure.empty()) {
        r.outcome = Outcome::Answered;
        r.body = answer.body;
        r.status = 200;
    } else {
        r.outcome = answer.kind == FailureKind::Connect ? Outcome::NotSent : Outcome::Unknown;
        r.failure = answer.kind;
        r.text = answer.failure;
        r.status = answer.status;
        if (answer.kind == FailureKind::CutAnswer) r.body = answer.body;
    }
    hooks_.trafficChanged(TrafficText(counter_));
    return r;
}

std::string ScriptedTransport::Get(const std::string& url, bool secure) {
    if (!secure && script_.secureOnly) return "-=Error=- : not scripted";
    TransportScript::Answer answer = Next(url);
    if (!answer.failure.empty()) {
        if (hooks_.isHidden()) hooks_.notifyUser(answer.failure);
        else hooks_.showMessage(answer.failure);
        answer.body.clear();
    }
    hooks_.trafficChanged(TrafficText(counter_));
    return answer.body;
}

void ShellTest::SetUpTestSuite() { EnsureQtApp(); }

void ShellTest::SetUp() {
    ASSERT_TRUE(tmp_.isValid());
    base_ = tmp_.path().toStdString() + "/";
    ASSERT_TRUE(QDir().mkpath(tmp_.path() + "/Set"));
    // The program directory is looked up relative to the working directory.
    oldCwd_ = QDir::currentPath();
    QDir::setCurrent(tmp_.path());
    QSettings profile(QString::fromLatin1(kProfileOrganization),
                      QString::fromLatin1(kProfileApplication));
    profile.remove(QString::fromLatin1(kMainWindowPlacement));
    WriteSettings("");
}

void ShellTest::TearDown() { QDir::setCurrent(oldCwd_); }

void ShellTest::WriteSettings(const std::string& settingLines) {
    QFile file(QString::fromStdString(base_ + "Set/Purseward.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(("[Setting]\n" + settingLines).c_str());
    file.close();
    app_ = std::make_unique<CPursewardApp>(base_, ui_, clock_);
    app_->ReadEnableFlags();
}

std::unique_ptr<CPursewardDlg> ShellTest::MakeWindow(bool trayAvailable) {
    MainWindowOptions options;
    options.trayAvailable = [trayAvailable] { return trayAvailable; };
    options.makeTransport = [this](TrafficCounter& counter, TransportHooks hooks)
        -> std::unique_ptr<Transport> {
        if (realTransport_)
            return std::make_unique<CurlTransport>(app_->Settings(), counter, std::move(hooks));
        return std::make_unique<ScriptedTransport>(counter, std::move(hooks), script_);
    };
    options.showBalloon = [this](const QString& title, const QString& text) {
        balloons_.emplace_back(title, text);
    };
    options.playSound = [this](const QString& path) { sounds_.push_back(path); };
    options.openUrl = [this](const QUrl& url) { opened_.push_back(url); };
    if (tabFactory_) {
        options.createTab = tabFactory_;
    } else if (!realTabs_) {
        options.createTab = [this](int system, CPursewardApp&, TabHost&, QWidget* parent) {
            return new RecordingTab(system, saves_, parent);
        };
    }
    return std::make_unique<CPursewardDlg>(*app_, std::move(options));
}

std::string ShellTest::Setting(const std::string& key) const {
    return app_->GetString("Setting", key, "<missing>");
}

}  // namespace pw::test
