#include "accounts/gui/e_gold_tab.h"

#include <QCheckBox>
#include <QLineEdit>

#include "accounts/eg/eg_client.h"
#include "app/purseward_app.h"
#include "ui/base/strings.h"

namespace pw {

CEGoldDlg::CEGoldDlg(CPursewardApp& app, TabHost& host, QWidget* parent)
    : CEGoldDlg(MakeEGoldClient(app.Settings()), app, host, parent) {}

CEGoldDlg::CEGoldDlg(std::unique_ptr<EgClient> client, CPursewardApp& app, TabHost& host,
                     QWidget* parent)
    : CAccountTab(std::move(client), app, host, parent) {
    // The UpdateDate of the balance rows follows the program's clock.
    Eg().SetClock([&app] { return app.GetClock().Now(); });
    Init();
    counterpartEdit_->setAlignment(Qt::AlignCenter);
    batchEdit_->setAlignment(Qt::AlignCenter);
    // An e-gold account to select on is typed in upper case.
    connect(counterpartEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const QString upper = text.toUpper();
        if (upper == text) return;
        const int cursor = counterpartEdit_->cursorPosition();
        counterpartEdit_->setText(upper);
        counterpartEdit_->setCursorPosition(cursor);
    });
}

EgClient& CEGoldDlg::Eg() { return static_cast<EgClient&>(Client()); }

bool CEGoldDlg::Step(TabStep step, const LoginFields& login) {
    switch (step) {
        case TabStep::LoginStart:
            pricesDue_ = false;
            break;
        case TabStep::LoginChecked:
            pricesDue_ = Eg().Prices().empty();
            break;
        case TabStep::BeforeBalance:
            if (pricesDue_) {
                pricesDue_ = false;
                Eg().ReadPrices(Request(Eg().PriceUrl(), false));
            }
            break;
        default:
            break;
    }
    return CAccountTab::Step(step, login);
}

void CEGoldDlg::UpdateFilterControls() {
    CAccountTab::UpdateFilterControls();
    fromToCheck_->setChecked(true);
    fromToCheck_->setEnabled(false);
}

void CEGoldDlg::ChangeAccount() {
    CAccountTab::ChangeAccount();
    Eg().ClearPrices();
}

std::string CEGoldDlg::SelectedCounterpart() const {
    const int row = SelectedHistoryRow();
    if (row < 0 || static_cast<std::size_t>(row) >= HistoryRows().size()) return std::string();
    const TextList f = Split(HistoryRows()[static_cast<std::size_t>(row)], "~");
    const auto c = static_cast<std::size_t>(Traits().historyCounterpartColumn);
    return c < f.size() ? f[c] : std::string();
}

void CEGoldDlg::GetHistoryForAccount() {
    if (SelectedCounterpart().empty()) return;
    CAccountTab::GetHistoryForAccount();
}

std::vector<MenuItem> CEGoldDlg::HistoryMenu() const {
    std::vector<MenuItem> items = CAccountTab::HistoryMenu();
    MenuItem* item = FindItem(items, TabCommand::HistoryForAccount);
    if (item != nullptr && SelectedHistoryRow() >= 0 && SelectedCounterpart().empty()) {
        item->text = Str(147);
        item->enabled = false;
    }
    return items;
}

}  // namespace pw
