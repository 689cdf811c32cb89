#include "accounts/gui/tab_menus.h"

#include <QAction>
#include <QMenu>

#include "accounts/tab_logic.h"

namespace pw {

std::vector<MenuItem> BalanceMenuItems(const BalanceMenuState& s) {
    const bool row = s.rowSelected;
    return {
        {TabCommand::Refresh, "Refresh\tF5", true, false, false},
        {TabCommand::AutoRefresh, AutoRefreshItemText(s.autoRefreshMinutes), true, true,
         s.autoRefreshMinutes > 0},
        {TabCommand::MakePayment, "Make Payment ...", row && s.payment, false, false},
        {TabCommand::MakeMassPayment, "Make MassPayment ...", row && s.massPayment, false, false},
        {TabCommand::None, "", true, false, false},
        {TabCommand::CopyAccountNumber, "Copy Account Number", row, false, false},
        {TabCommand::None, "", true, false, false},
        {TabCommand::ChangeAccount, "Change Account", s.loggedIn, false, false},
    };
}

std::vector<MenuItem> HistoryMenuItems(const std::string* counterpart, bool exportOn) {
    const bool row = counterpart != nullptr;
    return {
        {TabCommand::CopyRecord, "Copy current record", row, false, false},
        {TabCommand::None, "", true, false, false},
        {TabCommand::ExportCsv, "Export to *.CSV ...", row && exportOn, false, false},
        {TabCommand::HistoryForAccount, HistoryForAccountItemText(counterpart), row, false, false},
    };
}

MenuItem* FindItem(std::vector<MenuItem>& items, TabCommand command) {
    for (MenuItem& item : items)
        if (item.command == command) return &item;
    return nullptr;
}

QMenu* BuildMenu(const std::vector<MenuItem>& items, QWidget* parent) {
    auto* menu = new QMenu(parent);
    for (const MenuItem& item : items) {
        if (item.command == TabCommand::None) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(QString::fromStdString(item.text));
        a->setData(static_cast<int>(item.command));
        a->setEnabled(item.enabled);
        a->setCheckable(item.checkable);
        a->setChecked(item.checked);
    }
    return menu;
}

TabCommand CommandOf(const QAction* action) {
    if (action == nullptr) return TabCommand::None;
    return static_cast<TabCommand>(action->data().toInt());
}

}  // namespace pw
