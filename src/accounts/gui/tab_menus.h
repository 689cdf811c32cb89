#pragma once
// The context menus of a full account tab, described as items so that their texts and states
// can be checked without opening a menu, and turned into a QMenu when one pops up.
#include <QCoreApplication>
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
    std::string whyDisabled;  // shown as the tool tip while the item is disabled
};

// Why a command is disabled (the tool tip of its menu item or button).
inline constexpr char kOffNotAvailable[] =
    QT_TRANSLATE_NOOP("Purseward", "Not available in this version.");
inline constexpr char kOffNotLoggedIn[] =
    QT_TRANSLATE_NOOP("Purseward", "Not logged in: log in to this account first.");
inline constexpr char kOffNoBalanceRow[] = QT_TRANSLATE_NOOP(
    "Purseward", "No balance row selected: right-click the balance of the currency to pay from.");
inline constexpr char kOffNoHistoryRow[] =
    QT_TRANSLATE_NOOP("Purseward", "No history row selected.");
inline constexpr char kOffLoggedIn[] = QT_TRANSLATE_NOOP(
    "Purseward",
    "Logged in: choose \"Change Account\" in the balance table's menu to use another account.");

struct BalanceMenuState {
    bool rowSelected = false;
    bool loggedIn = false;
    int autoRefreshMinutes = 0;
    // Why "Make Payment ..." and "Make MassPayment ..." are disabled; "" when they are
    // enabled (CAccountTab::FeatureOffReason).
    std::string paymentOff, massPaymentOff;
};
std::vector<MenuItem> BalanceMenuItems(const BalanceMenuState& state);

// counterpart: the "From/To" field of the selected history row, or nullptr for none;
// exportOn: an export handler is supplied.
std::vector<MenuItem> HistoryMenuItems(const std::string* counterpart, bool exportOn);
// The item of a command in items, or nullptr.
MenuItem* FindItem(std::vector<MenuItem>& items, TabCommand command);

// A menu with one action per item (the command in the action's data). The item texts are
// shown as they are ("&" is no shortcut); a disabled item's reason is its tool tip.
QMenu* BuildMenu(const std::vector<MenuItem>& items, QWidget* parent);
// The command of a chosen action, None for nullptr.
TabCommand CommandOf(const QAction* action);

}  // namespace pw
