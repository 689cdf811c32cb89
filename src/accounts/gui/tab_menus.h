#pragma once
// The context menus of a full account tab, described as items so that their texts and states
// can be checked without opening a menu, and turned into a QMenu when one pops up.
#include <QString>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace pw {

enum class TabCommand {
    None,
    Refresh,
    AutoRefresh,
    MakePayment,
    MakeMassPayment,
    CopyAccountNumber,
    ChangeAccount,
    CopyRecord,
    ExportCsv,
    HistoryForAccount,
};

struct MenuItem {
    TabCommand command = TabCommand::None;  // None: a separator
    std::string text;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
};

struct BalanceMenuState {
    bool rowSelected = false;
    bool loggedIn = false;
    int autoRefreshMinutes = 0;
    bool payment = false;      // a payment handler is supplied
    bool massPayment = false;  // a mass payment handler is supplied
};
std::vector<MenuItem> BalanceMenuItems(const BalanceMenuState& state);

// counterpart: the "From/To" field of the selected history row, or nullptr for none;
// exportOn: an export handler is supplied.
std::vector<MenuItem> HistoryMenuItems(const std::string* counterpart, bool exportOn);
// The item of a command in items, or nullptr.
MenuItem* FindItem(std::vector<MenuItem>& items, TabCommand command);

// A menu with one action per item (the command in the action's data).
QMenu* BuildMenu(const std::vector<MenuItem>& items, QWidget* parent);
// The command of a chosen action, None for nullptr.
TabCommand CommandOf(const QAction* action);

}  // namespace pw
