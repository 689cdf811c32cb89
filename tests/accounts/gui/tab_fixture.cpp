#include "tab_fixture.h"

#include "accounts/lr/lr_client.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QScrollBar>
#include <QTableView>
#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pw::test {

void EnsureQtApp() {
    static int argc = 1;
    static char name[] = "account_tab_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = QApplication::instance() == nullptr
                                   ? new QApplication(argc, argv)
                                   : nullptr;
    (void)app;
}

// The scripted client stands in for the Liberty Reserve one: same columns, keys and labels.
SystemTraits ScriptedTraits() { return LibertyReserveTraits(); }

SecureString ScriptedClient::BalanceUrl(const LoginFields& login, std::time_t) {
    return Joined({"https://127.0.0.1/balance?acct=", login.account, "&api=", login.apiName});
}

SecureString ScriptedClient::HistoryUrl(const LoginFields& login, const HistoryFilter& f, int page,
                                        std::time_t) {
    std::string url = "https://127.0.0.1/history?acct=" + login.account +
                      "&page=" + std::to_string(page);
    if (f.getLast) url += "&last=" + std::to_string(f.count);
    if (f.fromTo) url += "&from=" + FormatSettingsDate(f.from) + "&to=" + FormatSettingsDate(f.to);
    if (f.byAccount) url += "&with=" + f.counterpart;
    if (f.byBatch) url += "&batch=" + f.batch;
    return url;
}

void ScriptedClient::Parse(const std::string& answer, RequestKind kind, bool clear) {
    kinds.push_back(kind);
    if (clear) answer_ = ParsedAnswer{};
    std::istringstream in(answer);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() < 2 || line[1] != ':') continue;
        const std::string row = line.substr(2);
        switch (line[0]) {
            case 'E': answer_.errors.push_back(row); break;
            case 'B': answer_.balanceRows.push_back(row); break;
            case 'H': answer_.historyRows.push_back(row); break;
            case 'P': answer_.pager.push_back(row); break;
            default: break;
        }
    }
}

std::vector<int> ScriptedClient::FurtherPages(const HistoryFilter& filter) const {
    std::vector<int> pages;
    if (filter.getLast || answer_.pager.empty()) return pages;
    const TextList f = Split(answer_.pager[0], "~");
    if (f.size() < 3 || f[1] == f[2]) return pages;
    for (int n = 2; n <= std::atoi(f[1].c_str()); ++n) pages.push_back(n);
    return pages;
}

namespace {
bool WaitCursorShown() {
    const QCursor* c = QApplication::overrideCursor();
    return c != nullptr && c->shape() == Qt::WaitCursor;
}
}  // namespace

void TestUi::Message(const std::string& text) {
    waitCursorAtMessage.push_back(WaitCursorShown());
    ScriptedUi::Message(text);
    if (onMessage) onMessage();
}

std::optional<int> TestUi::PromptNumber(const std::string& caption, const std::string& label,
                                        int value) {
    numberCaptions.push_back(caption);
    numberLabels.push_back(label);
    numberShown.push_back(value);
    return ScriptedUi::PromptNumber(caption, label, value);
}

void SaveScreenshot(QWidget& tab, const std::string& name) {
    tab.resize(1346, 640);  // the page of a 1366 x 768 window, below its menu and tab bar
    tab.show();
    QApplication::processEvents();
    if (auto* balance = tab.findChild<QTableView*>("balanceTable")) {
        const int rows = balance->model()->rowCount();
        EXPECT_GT(rows, 0) << name;
        EXPECT_FALSE(balance->horizontalScrollBar()->isVisible()) << name;
        if (rows <= 6) {
            EXPECT_FALSE(balance->verticalScrollBar()->isVisible()) << name;
            EXPECT_LE(balance->visualRect(balance->model()->index(rows - 1, 0)).bottom(),
                      balance->viewport()->height())
                << name;
        }
    }
    QDir().mkpath(QStringLiteral(PW_BINARY_DIR "/screenshots"));
    EXPECT_TRUE(
        tab.grab().save(QStringLiteral(PW_BINARY_DIR "/screenshots/") + QString::fromStdString(name)))
        << name;
    tab.hide();
}

std::string ScriptedHost::HttpsGet(const SecureString& url) {
    urls.emplace_back(url);
    waitCursorAtRequest.push_back(WaitCursorShown());
    topics.push_back(topic);
    origins.push_back(background);
    if (answers.empty()) return std::string();
    std::string a = answers.front();
    answers.pop_front();
    return a;
}

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "pwtabXXXXXX").string();
    char* made = ::mkdtemp(tmpl.data());
    path_ = std::string(made) + "/";
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& data) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

TabWorld::TabWorld() : clock(1236254400 /* 2009-03-05 12:00 UTC */), app(dir.Path(), ui, clock) {
    EnsureQtApp();
    app.Settings().SetUnlockPassword("unlock");
}

}  // namespace pw::test
