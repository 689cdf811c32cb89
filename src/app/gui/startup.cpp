#include "app/gui/startup.h"

#include <QApplication>
#include <QDir>
#include <QPointer>

#include "accounts/gui/auto_refresh_dialog.h"
#include "app/gui/main_window.h"
#include "app/gui/single_instance.h"
#include "app/language_library.h"
#include "app/private_files.h"
#include "app/purseward_app.h"
#include "settings/gui/mkey_prompt.h"
#include "settings/gui/pass_prompt.h"
#include "settings/keys.h"
#include "settings/migration.h"
#include "ui/screen_fit.h"
#include "ui/base/clock.h"
#include "ui/qt_modal_ui.h"

namespace pw {

int RunPurseward(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Purseward"));
    QApplication::setApplicationVersion(QStringLiteral(PW_VERSION_TEXT));
    // The window lives on in the tray and message boxes come and go while it is hidden: only
    // the confirmed close ends the run.
    QApplication::setQuitOnLastWindowClosed(false);
    InstallScreenFit(qapp);

    // Single instance. The running instance listens once its main window is shown; before
    // that (at its password prompt) this start goes on as an instance of its own.
    SingleInstance instance(InstanceName());
    if (!instance.Acquire() && instance.AskRunningToActivate()) return 0;

    const std::string baseDir = QDir::currentPath().toStdString() + "/";

    QtModalUi ui;
    ui.SetPasswordPrompt([](QWidget* parent) { return CPassPrompt::Ask(parent); });
    ui.SetMasterKeyPrompt([](QWidget* parent) { return CMKeyPrompt::Ask(parent); });
    // The only number the program asks for is the auto-refresh period.
    ui.SetNumberPrompt([](QWidget* parent, const std::string&, const std::string&, int value) {
        return AutoRefreshDialog::Ask(parent, value);
    });

    // Without the cipher every secret would read empty and every secret write be lost.
    if (!CheckCipherAtStart(ui)) return 1;

    CPursewardApp app(baseDir, ui, SystemClock());
    // A settings file the store cannot read whole is refused before anything is written.
    if (const std::optional<std::string> refusal = OversizeSettingsMessage(app.SettingsPath())) {
        ui.Message(*refusal);
        return 1;
    }
    app.ScanLanguages();
    const QtLegacyProfile profile;
    app.PrepareSettings(profile);  // creates the settings file on the first run
    // Files left readable by others (an older version, a copy made by hand) are narrowed.
    NarrowDataFiles(baseDir, app.ProgramDir());
    app.LoadSelectedLanguage();    // kept until the application object goes
    const InstalledTranslation translation(app.Language());
    app.ReadEnableFlags();

    if (!app.Pw().StartupCheck()) return 1;  // message 151 was shown
    app.Pw().SetStoredPass2(app.GetString(keys::kSetting, keys::kPass2, ""));

    CPursewardDlg dialog(app);
    QPointer<CPursewardDlg> window(&dialog);
    QObject::connect(&dialog, &CPursewardDlg::Closed, &qapp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    dialog.show();
    if (instance.IsPrimary()) instance.Listen([window] {
        if (window) window->BringToFront();
    });
    QApplication::exec();
    return 0;
}

}  // namespace pw
