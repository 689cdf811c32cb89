#include "accounts/gui/account_tab_api.h"

namespace pw {

AccountTabWidget* CreateAccountTab(int systemIndex, CPursewardApp&, TabHost&, QWidget* parent) {
    return new AccountTabWidget(systemIndex, parent);
}

}  // namespace pw
