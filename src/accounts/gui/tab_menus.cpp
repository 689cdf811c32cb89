#include "accounts/gui/tab_menus.h"

#include <QAction>
#include <QMenu>

#include "accounts/tab_logic.h"
#include "ui/base/tr.h"
#include "ui/base/widget_text.h"

namespace pw {

std::vector<MenuItem> BalanceMenuItems(const BalanceMenuState& s) {
    const bool row = s.rowSelected;
    const std::string noRow = s.loggedIn ? kOffNoBalanceRow : kOffNotLoggedIn;
    return {
        {TabCommand::Refresh, QT_TRANSLATE_NOOP("Purseward", "Refresh\tF5"), true, false, false,
         ""},
        {TabCommand::AutoRefresh, AutoRefreshItemText(s.autoRefreshMinutes), true, true,
         s.autoRefreshMinutes > 0, ""},
        {TabCommand::MakePayment, QT_TRANSLATE_NOOP("Purseward", "Make Payment ..."),
         s.paymentOff.empty(), false, false, s.paymentOff},
        {TabCommand::MakeMassPayment, QT_TRANSLATE_NOOP("Purseward", "Make MassPayment ..."),
         s.massPaymentOff.empty(), false, false, s.massPaymentOff},
        {TabCommand::None, "", true, false, false, ""},
        {TabCommand::CopyAccountNumber, QT_TRANSLATE_NOOP("Purseward", "Copy Account Number"), row,
         false, false, noRow},
        {TabCommand::None, "", true, false, false, ""},
        {TabCommand::ChangeAccount, QT_TRANSLATE_NOOP("Purseward", "Change Account"), s.loggedIn,
         false, false, kOffNotLoggedIn},
    };
}

std::vector<MenuItem> HistoryMenuItems(const std::string* counterpart, bool exportOn) {
    const bool row = counterpart != nullptr;
    const std::string noRow = kOffNoHistoryRow;
    return {
        {TabCommand::CopyRecord, QT_TRANSLATE_NOOP("Purseward", "Copy current record"), row, false,
         false, noRow},
        {TabCommand::None, "", true, false, false, ""},
        {TabCommand::ExportCsv, QT_TRANSLATE_NOOP("Purseward", "Export to *.CSV ..."),
         row && exportOn, false, false, row ? kOffNotAvailable : noRow},
        {TabCommand::HistoryForAccount, HistoryForAccountItemText(counterpart), row, false, false,
         noRow},
    };
}

MenuItem* FindItem(std::vector<MenuItem>& items, TabCommand command) {
    for (MenuItem& item : items)
        if (item.command == command) return &item;
    return nullptr;
}

QMenu* BuildMenu(const std::vector<MenuItem>& items, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setToolTipsVisible(true);
    for (const MenuItem& item : items) {
        if (item.command == TabCommand::None) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(EscapeMnemonics(TrText(item.text)));
        a->setData(static_cast<int>(item.command));
        a->setEnabled(item.enabled);
        a->setCheckable(item.checkable);
        a->setChecked(item.checked);
        if (!item.enabled && !item.whyDisabled.empty()) a->setToolTip(TrText(item.whyDisabled));
    }
    return menu;
}

TabCommand CommandOf(const QAction* action) {
    if (action == nullptr) return TabCommand::None;
    return static_cast<TabCommand>(action->data().toInt());
}

}  // namespace pw
