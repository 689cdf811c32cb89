#pragma once
// Window placement in the per-user profile: values Left, Top, Right, Bottom and State under a
// group named after the window ("PursewardWnd").
#include <QString>

class QWidget;

namespace pw {

// Organization and application of the per-user profile.
inline constexpr const char kProfileOrganization[] = "Local AppWizard-Generated Applications";
inline constexpr const char kProfileApplication[] = "Purseward";

// State values: 1 normal, 2 minimised, 3 maximised.
void SaveWindowPlacement(const QWidget& window, const QString& group);
// Applies a stored placement. A placement that lies off every screen keeps the position the
// window already has (the size is still applied). False when nothing usable is stored.
bool RestoreWindowPlacement(QWidget& window, const QString& group);

}  // namespace pw
