#include "journey_fixture.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <ctime>

#include "payments/gui/make_payment_dialog.h"
#include "payments/ole_date.h"
#include "settings/keys.h"
#include "settings/migration.h"
#include "store/text_list.h"

namespace pw::test {

const DemoLogin kDemo[6] = {{"U1234567", "demoapi", "demosecret"},
                            {"1234567", "", "demo-pass"},
                            {"VM100001", "1234", "demopass"},
                            {"1234567", "", "demopass1"},
                            {"GDP1001", "ST-77", "gdp+key&1"},
                            {"E1000100", "", "ecu pass#1"}};

namespace {

void Type(QLineEdit* edit, const std::string& text) {
    if (edit == nullptr || !edit->isVisible()) return;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, QString::fromStdString(text));
}

}  // namespace

void Journey::SetUpTestSuite() {
    EnsureQtApp();
    sandbox_ = new pw::test::Sandbox();
}

void Journey::TearDownTestSuite() {
    delete sandbox_;
    sandbox_ = nullptr;
}

void Journey::SetUp() {
    ASSERT_TRUE(tmp_.isValid());
    base_ = tmp_.path().toStdString() + "/";
    // The program works in its data folder, which is its working directory.
    oldCwd_ = QDir::currentPath();
    QDir::setCurrent(tmp_.path());
    clock_.Set(std::time(nullptr));
    controlSettings_ = std::make_unique<SettingsStore>(base_ + "control.ini", "");
    controlSettings_->WriteString("Setting", "CACertFile", sandbox_->CaPath());
    TransportHooks hooks;
    hooks.showMessage = [](const std::string& m) { ADD_FAILURE() << "sandbox request: " << m; };
    hooks.isHidden = [] { return false; };
    hooks.notifyUser = hooks.showMessage;
    control_ = std::make_unique<CurlTransport>(*controlSettings_, controlCounter_, hooks);
    Start();
}

void Journey::TearDown() {
    if (window_) Stop();
    QDir::setCurrent(oldCwd_);
}

void Journey::Start() {
    app_ = std::make_unique<CPursewardApp>(base_, ui_, clock_);
    app_->ScanLanguages();
    app_->PrepareSettings(QtLegacyProfile());
    if (!app_->settingsPresent) {
        // What the demo folder's preparation adds to the first-run settings.
        for (int s = 0; s < 6; ++s)
            app_->WriteString(keys::KeysOf(s).section, keys::KeysOf(s).host,
                              s == 3 ? sandbox_->EgHost() : sandbox_->HttpsHost());
        app_->WriteString("EG", keys::kEGPriceHost, sandbox_->HttpHost());
        app_->WriteString(keys::kSetting, keys::kInfoSite, sandbox_->HttpUrl(""));
        app_->WriteString(keys::kSetting, keys::kCACertFile, sandbox_->CaPath());
        app_->WriteInt(keys::kSetting, keys::kEnableGDP, 1);
        app_->WriteInt(keys::kSetting, keys::kEnableECU, 1);
        app_->ReadEnableFlags();
    }
    app_->LoadSelectedLanguage();
    ASSERT_TRUE(app_->Pw().StartupCheck()) << TakeMessages();
    app_->Pw().SetStoredPass2(app_->GetString(keys::kSetting, keys::kPass2, ""));

    MainWindowOptions options;
    options.trayAvailable = [] { return true; };
    // The real transport; a server that sends nothing is given up after six seconds.
    options.makeTransport = [this](TrafficCounter& counter, TransportHooks hooks) {
        return std::make_unique<CurlTransport>(
            app_->Settings(), counter, std::move(hooks),
            TransportTimeouts{std::chrono::milliseconds(5000), std::chrono::seconds(6)});
    };
    options.showBalloon = [this](const QString&, const QString& text) { balloons_.push_back(text); };
    options.playSound = [this](const QString& path) { sounds_.push_back(path); };
    options.openUrl = [](const QUrl&) {};
    window_ = std::make_unique<CPursewardDlg>(*app_, std::move(options));
    window_->show();
    ASSERT_TRUE(WaitFor([this] { return window_->isVisible(); }));
}

void Journey::Stop() {
    ui_.yesNo.push_back(true);  // "Close Program ?"
    window_->close();
    EXPECT_FALSE(window_->isVisible());
    const std::string shown = TakeMessages();
    EXPECT_EQ(shown.substr(shown.rfind('|') + 1), "Close Program ?") << shown;
    window_.reset();
    app_.reset();
}

CAccountTab& Journey::Tab(int system) const {
    auto* tab = qobject_cast<CAccountTab*>(window_->FirstTab(system));
    if (tab == nullptr) throw std::runtime_error("no tab of system " + std::to_string(system));
    return *tab;
}

void Journey::Login(int system) { Login(Tab(system), kDemo[system]); }

void Journey::Login(CAccountTab& tab, const DemoLogin& login) {
    window_->Tabs()->setCurrentWidget(&tab);
    Type(tab.findChild<QLineEdit*>("accountEdit"), login.account);
    Type(tab.findChild<QLineEdit*>("apiNameEdit"), login.apiName);
    Type(tab.findChild<QLineEdit*>("secretEdit"), login.secret);
    QTest::mouseClick(tab.findChild<QPushButton*>("loginButton"), Qt::LeftButton);
}

void Journey::Pay(CAccountTab& tab, const std::string& to, const std::string& amount,
                  const std::string& memo, int inMinutes) {
    window_->Tabs()->setCurrentWidget(&tab);
    const auto filled = WhenShown<CMakePayment>([&](CMakePayment& d) {
        Type(d.ToEdit(), to);
        Type(d.AmountEdit(), amount);
        Type(d.MemoEdit(), memo);
        if (inMinutes >= 0) {
            QTest::keyClick(d.ScheduleBox(), Qt::Key_Space);
            const LocalDateTime t = LocalOf(clock_.Now() + inMinutes * 60);
            d.DateEdit()->setDate(QDate(t.year, t.month, t.day));
            d.TimeEdit()->setTime(QTime(t.hour, t.minute));
        }
        d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    tab.SelectBalanceRow(0);
    tab.RunCommand(TabCommand::MakePayment);
    EXPECT_TRUE(*filled) << "the payment dialog did not open";
}

void Journey::FetchHistory(CAccountTab& tab) {
    window_->Tabs()->setCurrentWidget(&tab);
    QTest::mouseClick(tab.findChild<QPushButton*>("historyButton"), Qt::LeftButton);
}

std::string Journey::Sandbox(const std::string& pathAndQuery, bool https) {
    return https ? control_->HttpsGet(sandbox_->HttpsUrl(pathAndQuery))
                 : control_->HttpGet(sandbox_->HttpUrl(pathAndQuery));
}

long Journey::Booked(const std::string& system) {
    return std::stol(Sandbox("/sandbox/booked?system=" + system));
}

void Journey::Arm(const std::string& system, const std::string& mode, int count, int ms) {
    ASSERT_EQ(Sandbox("/sandbox/fault?system=" + system + "&mode=" + mode +
                      "&count=" + std::to_string(count) + "&ms=" + std::to_string(ms)),
              "ok\n");
}

long long Journey::Micro(const CAccountTab& tab, int row) {
    const std::string text = Split(tab.BalanceRows().at(static_cast<std::size_t>(row)), "~").at(1);
    const std::size_t dot = text.find('.');
    std::string frac = dot == std::string::npos ? "" : text.substr(dot + 1);
    frac.resize(6, '0');
    return std::stoll(text.substr(0, dot)) * 1000000 + std::stoll(frac);
}

std::string Journey::TakeMessages() {
    std::string out;
    for (; messagesTaken_ < ui_.messages.size(); ++messagesTaken_)
        out += (out.empty() ? "" : "|") + ui_.messages[messagesTaken_];
    return out;
}

void Journey::Screenshot(const char* journey) {
    EXPECT_TRUE(SaveScreenshot(*window_, QStringLiteral("journey_") + QString::fromLatin1(journey)));
}

}  // namespace pw::test
