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
};
std::vector<MenuItem> BalanceMenuItems(const BalanceMenuState& state);

// counterpart: the "From/To" field of the selected history row, or nullptr for none.
std::vector<MenuItem> HistoryMenuItems(const std::string* counterpart);

// A menu with one action per item (the command in the action's data).
QMenu* BuildMenu(const std::vector<MenuItem>& items, QWidget* parent);
// The command of a chosen action, None for nullptr.
TabCommand CommandOf(const QAction* action);

}  // namespace pw
