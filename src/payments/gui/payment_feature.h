#pragma once
// The payments of a full account tab of LR, PM, VM or EG: "Make Payment ..." and the double
// click on a balance row open the payment dialog for that row; the schedule check runs at
// each tick of the tab's schedule timer. Installed on the tab from here, so the tab frame
// knows nothing of payments.
#include <functional>

namespace pw {

class CAccountTab;
class CMakePayment;
class CPursewardApp;

// What runs the payment dialog (tests script it); default: exec().
using PaymentDialogRunner = std::function<int(CMakePayment& dialog)>;

// Gives the tab its payment and its schedule check; other tabs are left as they are.
void InstallPayments(CAccountTab& tab, CPursewardApp& app, PaymentDialogRunner run = {});

// The single payment of the tab's selected balance row: the dialog, then the record sent at
// once through the tab's transfer request or added to the account's schedule and saved.
void MakePayment(CAccountTab& tab, CPursewardApp& app, const PaymentDialogRunner& run);
// The schedule check of the tab's account at the clock's local time.
void CheckSchedule(CAccountTab& tab, CPursewardApp& app);

}  // namespace pw
