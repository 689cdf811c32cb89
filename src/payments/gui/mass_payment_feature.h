#pragma once
// The mass payment of a full account tab of LR, PM, VM or EG: "Make MassPayment ..." opens the
// window for the selected balance row with that payer's scheduled payments, and OK puts the
// rows still scheduled back into the schedule and sends the others, each record at most once.
// Installed on the tab from here, so the tab frame knows nothing of payments.
#include <functional>

namespace pw {

class CAccountTab;
class CMakeMassPayment;
class CPursewardApp;

// What runs the window (tests script it); default: exec().
using MassPaymentRunner = std::function<int(CMakeMassPayment& window)>;

// Gives the tab its mass payment; other tabs are left as they are.
void InstallMassPayment(CAccountTab& tab, CPursewardApp& app, MassPaymentRunner run = {});

// The mass payment of the tab's selected balance row.
void MakeMassPayment(CAccountTab& tab, CPursewardApp& app, const MassPaymentRunner& run);

}  // namespace pw
