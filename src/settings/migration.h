#pragma once
// First-run migration: creates the settings file from an earlier version's values in the
// per-user profile (defaults and empty values where it holds none) and writes the key file
// for two empty passwords.
#include <functional>
#include <string>

namespace pw {

// Values of the earlier version: string lookup in the per-user profile's "Setting" group.
// Returns nullopt-like empty + false when absent.
struct LegacyProfile {
    virtual ~LegacyProfile() = default;
    virtual bool ReadString(const std::string& key, std::string& value) const = 0;
    virtual bool ReadInt(const std::string& key, int& value) const = 0;
};

// The per-user profile of the framework: QSettings("Local AppWizard-Generated Applications",
// "Purseward"), group "Setting".
class QtLegacyProfile : public LegacyProfile {
public:
    bool ReadString(const std::string& key, std::string& value) const override;
    bool ReadInt(const std::string& key, int& value) const override;
};

// Writes the key file at keyFilePath (first, 0600) and then the settings file at
// settingsPath (one atomic save). todayDmy: today's local date as "%d/%m/%Y" (the date
// defaults). False when either could not be written; a failed key file leaves the settings
// file unwritten, so the next start migrates again.
bool RunFirstRunMigration(const std::string& settingsPath, const std::string& keyFilePath,
                          const LegacyProfile& profile, const std::string& todayDmy);

}  // namespace pw
