#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quillex {

// The per-user settings key: three integer values, read once at start and written once at exit.
inline constexpr std::string_view kMinFormShowName = "Min_FormShow";
inline constexpr std::string_view kHintShowName = "HintShow";
inline constexpr std::string_view kLanguageName = "Languare";

// A value that cannot be read or written as a 32-bit integer, or a key that refuses a write.
class SettingsError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The one settings key of the program, wherever the platform keeps it.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // Opens the key, creating it if it is missing. False when it can be neither opened nor
    // created; the key then holds no values and takes no writes.
    virtual bool Open() = 0;
    virtual bool ValueExists(std::string_view name) = 0;
    // Throws SettingsError when the value is not a 32-bit integer.
    virtual std::int32_t ReadInteger(std::string_view name) = 0;
    // Throws SettingsError when the value cannot be stored.
    virtual void WriteInteger(std::string_view name, std::int32_t value) = 0;
    virtual void Close() = 0;
};

// The main window's two settings. Both start false: a load that fails part-way leaves the
// values it has not reached false, not at their defaults.
struct MainSettings {
    bool Min_FormShow = false;
    bool HintShow = false;

    friend bool operator==(const MainSettings&, const MainSettings&) = default;
};

// "Min_FormShow" (missing: false), then "HintShow" (missing: true); any non-zero value is true.
// A failure ends the load silently at that point.
MainSettings LoadMainSettings(SettingsStore& store);

// "Languare" as stored, any value accepted (missing or unreadable: 0).
std::int32_t LoadLanguage(SettingsStore& store);

// "Languare" := languageIndex, unchanged. Failures are swallowed.
void SaveLanguage(SettingsStore& store, std::int32_t languageIndex);

// "HintShow" then "Min_FormShow", each 1 or 0. A failing write ends the save, so a refused
// "HintShow" leaves "Min_FormShow" unwritten.
void SaveMainSettings(SettingsStore& store, const MainSettings& settings);

// What Cb_HintShowClick and Cb_Min_FormShowClick do to the running program's settings: flip
// one flag. Neither writes to the store; auto-minimise reads its flag once per run, so that
// change only shows at the next start.
void ToggleHintShow(MainSettings& settings);
void ToggleMin_FormShow(MainSettings& settings);

}  // namespace quillex
