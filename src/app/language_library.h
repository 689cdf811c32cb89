#pragma once
// Language libraries: Language/Purseward_*.so below the base directory. Each one exports,
// with C linkage,
//
//   void GetLanguageOfDll(char* buffer, int size);
//       writes the library's display name (for example the language's own name), zero-
//       terminated, into buffer; at most size bytes including the terminator.
//
// and may export
//
//   const unsigned char* GetTranslationOfDll(int* size);
//       the compiled Qt translation (.qm) the library carries, and its size in bytes; the
//       bytes belong to the library and stay valid while it is loaded. nullptr when none.
//
// The program offers each library under its display name; the selected one stays loaded for
// the whole run and supplies the translation.
#include <memory>
#include <string>
#include <vector>

class QLibrary;
class QTranslator;

namespace pw {

extern "C" {
using GetLanguageOfDllFn = void (*)(char* buffer, int size);
using GetTranslationOfDllFn = const unsigned char* (*)(int* size);
}

inline constexpr char kLanguageNameExport[] = "GetLanguageOfDll";
inline constexpr char kLanguageTranslationExport[] = "GetTranslationOfDll";
// Size of the buffer handed to GetLanguageOfDll.
inline constexpr int kLanguageNameBytes = 256;

struct LanguageLibraries {
    std::vector<std::string> names;  // display names, in the order the files were found
    std::vector<std::string> paths;  // "Language/<file>", index-aligned with names
};

// Finds the regular files baseDir + "Language/Purseward_*.so" (in name order), loads each,
// asks it for its display name and unloads it again. Files that fail to load, lack the
// export or give an empty name are skipped silently.
LanguageLibraries ScanLanguageLibraries(const std::string& baseDir);

// Loads the library of the language named selected (exact, first match) and keeps it
// loaded: nullptr when the name is not offered or the library no longer loads.
std::unique_ptr<QLibrary> LoadLanguageLibrary(const std::string& baseDir,
                                              const LanguageLibraries& libraries,
                                              const std::string& selected);

// The translation a loaded library carries; empty when it exports none.
std::string LanguageTranslation(QLibrary& library);

// The translation of the selected language library, in force while this object lives: a
// QTranslator installed into the application (when one exists) and the string table's texts
// replaced by their translations. Destroy it before the library is unloaded.
class InstalledTranslation {
public:
    explicit InstalledTranslation(QLibrary* library);  // nullptr or no translation: nothing
    ~InstalledTranslation();
    InstalledTranslation(const InstalledTranslation&) = delete;
    InstalledTranslation& operator=(const InstalledTranslation&) = delete;

    bool Active() const { return translator_ != nullptr; }
    // How many texts of the string table the translation replaced.
    int TranslatedStrings() const { return static_cast<int>(replaced_.size()); }

private:
    std::string data_;  // the .qm bytes; the translator reads them in place
    std::unique_ptr<QTranslator> translator_;
    std::unique_ptr<QTranslator> qtTranslator_;  // Qt's own, from the system, when present
    bool installed_ = false;
    std::vector<int> replaced_;
};

}  // namespace pw
