#pragma once

#include <QSettings>

#include <memory>

#include "core/settings.h"

namespace quillex {

// The settings key on QSettings in the native format for organisation "Tarnwell" and
// application "Pellam": on Windows the registry key HKEY_CURRENT_USER\Software\Tarnwell\Pellam,
// elsewhere the per-user configuration file Tarnwell/Pellam.conf.
//
// On Windows Qt writes an int as REG_DWORD and reads a REG_DWORD back as an int; every other
// registry type comes back as something else (REG_SZ as a string, REG_QWORD as a 64-bit
// integer), so a value read as anything but an int is wrongly typed there. The configuration
// file keeps no types: a value read in a new process is text, and it is wrongly typed when that
// text is not a 32-bit integer.
class QSettingsStore : public SettingsStore {
  public:
    static constexpr const char* kOrganization = "Tarnwell";
    static constexpr const char* kApplication = "Pellam";

    QSettingsStore();
    ~QSettingsStore() override;

    bool Open() override;
    bool ValueExists(std::string_view name) override;
    std::int32_t ReadInteger(std::string_view name) override;
    void WriteInteger(std::string_view name, std::int32_t value) override;
    void Close() override;

  private:
    QSettings& Settings();

    std::unique_ptr<QSettings> settings_;
};

}  // namespace quillex
