#include "core/settings.h"

#include <exception>
#include <functional>

namespace quillex {

namespace {

// One guarded block: opens the key, runs `body`, closes the key however the body ends.
// Any failure inside ends the block silently; settings never stop creation or exit.
// `body` learns whether the key opened: an unopenable key counts as holding no values.
void WithKey(SettingsStore& store, const std::function<void(bool opened)>& body) {
    bool opened = false;
    try {
        opened = store.Open();
        body(opened);
    } catch (const std::exception&) {
        // Swallowed by design: a bad value keeps the program's initial state.
    }
    if (opened) {
        store.Close();
    }
}

}  // namespace

MainSettings LoadMainSettings(SettingsStore& store) {
    MainSettings settings;
    WithKey(store, [&](bool opened) {
        if (!opened) {
            settings.Min_FormShow = false;
            settings.HintShow = true;
            return;
        }
        settings.Min_FormShow =
            store.ValueExists(kMinFormShowName) ? store.ReadInteger(kMinFormShowName) != 0 : false;
        settings.HintShow =
            store.ValueExists(kHintShowName) ? store.ReadInteger(kHintShowName) != 0 : true;
    });
    return settings;
}

std::int32_t LoadLanguage(SettingsStore& store) {
    std::int32_t languageIndex = 0;
    WithKey(store, [&](bool opened) {
        if (opened && store.ValueExists(kLanguageName)) {
            languageIndex = store.ReadInteger(kLanguageName);
        }
    });
    return languageIndex;
}

void SaveLanguage(SettingsStore& store, std::int32_t languageIndex) {
    WithKey(store, [&](bool opened) {
        if (opened) {
            store.WriteInteger(kLanguageName, languageIndex);
        }
    });
}

void SaveMainSettings(SettingsStore& store, const MainSettings& settings) {
    WithKey(store, [&](bool opened) {
        if (!opened) {
            return;  // the first write would fail and end the block: nothing is stored
        }
        store.WriteInteger(kHintShowName, settings.HintShow ? 1 : 0);
        store.WriteInteger(kMinFormShowName, settings.Min_FormShow ? 1 : 0);
    });
}

void ToggleHintShow(MainSettings& settings) {
    settings.HintShow = !settings.HintShow;
}

void ToggleMin_FormShow(MainSettings& settings) {
    settings.Min_FormShow = !settings.Min_FormShow;
}

}  // namespace quillex
