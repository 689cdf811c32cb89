#include "app/gui/program_dir.h"

#include <QFile>
#include <QFileInfo>

#include "app/purseward_app.h"
#include "settings/keys.h"

namespace pw {

std::string StripModuleName(const std::string& absolutePath, const std::string& module) {
    std::string dir = absolutePath;
    while (!dir.empty() && module.find(dir.back()) != std::string::npos) dir.pop_back();
    if (!dir.empty() && dir.back() == '/') return dir;
    const std::string own = QFileInfo(QString::fromStdString(absolutePath)).absolutePath().toStdString();
    return own.empty() || own.back() == '/' ? own : own + "/";
}

std::optional<std::string> ProgramDirOf(const std::string& module) {
    if (module.empty()) return std::nullopt;
    QFile file(QString::fromStdString(module));
    // A directory opens on Linux but is no program file.
    if (QFileInfo(file).isDir() || !file.open(QIODevice::ReadOnly)) return std::nullopt;
    const std::string full = QFileInfo(file).absoluteFilePath().toStdString();
    file.close();
    return StripModuleName(full, module);
}

std::string DetermineProgramDir(CPursewardApp& app) {
    std::string module = app.GetString(keys::kSetting, keys::kExecutableModule, "");
    if (module.empty()) {
        module = keys::kDefExecutableModule;
        app.WriteString(keys::kSetting, keys::kExecutableModule, module);
    }
    const auto dir = ProgramDirOf(module);
    if (!dir) return std::string();
    app.WriteString(keys::kSetting, keys::kProgramPath, *dir);
    return *dir;
}

}  // namespace pw
