#include "core/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/memory_settings_store.h"

namespace quillex {
namespace {

using testing::MemorySettingsStore;
using Calls = std::vector<std::string>;

// What one run does with the store: the main window loads first, then the start-up window;
// at exit the start-up window saves first, then the main window.
struct ProgramRun {
    MainSettings main;
    std::int32_t languageIndex = 0;

    explicit ProgramRun(SettingsStore& store)
        : main(LoadMainSettings(store)), languageIndex(LoadLanguage(store)) {}

    void Exit(SettingsStore& store) const {
        SaveLanguage(store, languageIndex);
        SaveMainSettings(store, main);
    }
};

TEST(Settings, FirstRunCreatesTheKeyUsesTheDefaultsAndWritesThemInOrder) {
    MemorySettingsStore store;
    const ProgramRun run(store);
    EXPECT_TRUE(store.created);
    EXPECT_EQ(run.main, (MainSettings{.Min_FormShow = false, .HintShow = true}));
    EXPECT_EQ(run.languageIndex, 0);

    run.Exit(store);
    EXPECT_EQ(store.writes, (Calls{"Languare=0", "HintShow=1", "Min_FormShow=0"}));
    EXPECT_EQ(store.openCount(), 4);  // each load and each save opens and closes the key
    EXPECT_EQ(store.closeCount(), 4);
}

TEST(Settings, LoadReadsMinFormShowBeforeHintShowAndClosesTheKey) {
    MemorySettingsStore store;
    store.values = {{"Min_FormShow", 0}, {"HintShow", 0}};
    LoadMainSettings(store);
    EXPECT_EQ(store.calls, (Calls{"open", "exists Min_FormShow", "read Min_FormShow",
                                  "exists HintShow", "read HintShow", "close"}));
}

// Any non-zero value is true, and is written back as 1.
TEST(Settings, NonZeroValuesReadAsTrueAndAreWrittenBackAsOne) {
    struct Case {
        std::int32_t stored;
        bool expected;
    };
    for (const Case c : {Case{5, true}, Case{-1, true}, Case{1, true}, Case{0, false}}) {
        MemorySettingsStore store;
        store.values = {{"Min_FormShow", c.stored}, {"HintShow", c.stored}};
        const ProgramRun run(store);
        EXPECT_EQ(run.main.Min_FormShow, c.expected) << c.stored;
        EXPECT_EQ(run.main.HintShow, c.expected) << c.stored;
        run.Exit(store);
        EXPECT_EQ(std::get<std::int32_t>(store.values["Min_FormShow"]), c.expected ? 1 : 0);
        EXPECT_EQ(std::get<std::int32_t>(store.values["HintShow"]), c.expected ? 1 : 0);
    }
}

TEST(Settings, AnyLanguageIndexIsKeptAndWrittenBackUnchanged) {
    for (const std::int32_t stored : {0, 1, 2, 7, -3, INT32_MAX}) {
        MemorySettingsStore store;
        store.values = {{"Languare", stored}};
        const ProgramRun run(store);
        EXPECT_EQ(run.languageIndex, stored);
        run.Exit(store);
        EXPECT_EQ(std::get<std::int32_t>(store.values["Languare"]), stored);
    }
}

// A wrongly typed value ends its block where it stands; what was not yet read stays false.
TEST(Settings, WronglyTypedValueEndsTheLoadAndLeavesTheRestFalse) {
    struct Case {
        const char* what;
        MemorySettingsStore::Value minFormShow;
        MemorySettingsStore::Value hintShow;
        MainSettings expected;
    };
    const Case cases[] = {
        {"Min_FormShow text", std::string("1"), 1, {.Min_FormShow = false, .HintShow = false}},
        {"HintShow text", 1, std::string("1"), {.Min_FormShow = true, .HintShow = false}},
        {"HintShow text, Min 0", 0, std::string("x"), {.Min_FormShow = false, .HintShow = false}},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        store.values = {{"Min_FormShow", c.minFormShow}, {"HintShow", c.hintShow}};
        EXPECT_EQ(LoadMainSettings(store), c.expected) << c.what;
        EXPECT_FALSE(store.isOpen()) << c.what << ": the key is closed after a failure";
        EXPECT_EQ(store.closeCount(), 1) << c.what;
    }
}

TEST(Settings, WronglyTypedMinFormShowNeverLooksAtHintShow) {
    MemorySettingsStore store;
    store.values = {{"Min_FormShow", std::string("yes")}};
    LoadMainSettings(store);
    EXPECT_EQ(store.calls, (Calls{"open", "exists Min_FormShow", "read Min_FormShow", "close"}));
}

// A string HintShow is rewritten at exit as the integer 0.
TEST(Settings, WronglyTypedHintShowIsRewrittenAsZero) {
    MemorySettingsStore store;
    store.values = {{"Min_FormShow", 1}, {"HintShow", std::string("1")}};
    const ProgramRun run(store);
    run.Exit(store);
    EXPECT_EQ(store.writes, (Calls{"Languare=0", "HintShow=0", "Min_FormShow=1"}));
}

TEST(Settings, WronglyTypedLanguageLeavesEnglish) {
    MemorySettingsStore store;
    store.values = {{"Languare", std::string("1")}};
    EXPECT_EQ(LoadLanguage(store), 0);
    EXPECT_FALSE(store.isOpen());
}

TEST(Settings, RefusedHintShowSkipsMinFormShow) {
    MemorySettingsStore store;
    store.failWrite = {"HintShow"};
    SaveMainSettings(store, {.Min_FormShow = true, .HintShow = true});
    EXPECT_EQ(store.calls, (Calls{"open", "write HintShow=1", "close"}));
    EXPECT_TRUE(store.writes.empty());
}

TEST(Settings, RefusedMinFormShowKeepsTheHintShowAlreadyWritten) {
    MemorySettingsStore store;
    store.failWrite = {"Min_FormShow"};
    SaveMainSettings(store, {.Min_FormShow = true, .HintShow = false});
    EXPECT_EQ(store.writes, (Calls{"HintShow=0"}));
    EXPECT_FALSE(store.isOpen());
}

TEST(Settings, RefusedLanguageDoesNotStopTheMainSave) {
    MemorySettingsStore store;
    store.failWrite = {"Languare"};
    const ProgramRun run(store);
    run.Exit(store);
    EXPECT_EQ(store.writes, (Calls{"HintShow=1", "Min_FormShow=0"}));
}

// A key that can be neither opened nor created: defaults, and nothing stored at exit.
TEST(Settings, UnopenableKeyGivesDefaultsAndStoresNothing) {
    MemorySettingsStore store;
    store.values = {{"Min_FormShow", 1}, {"HintShow", 0}, {"Languare", 1}};
    store.failOpen = true;
    ProgramRun run(store);
    EXPECT_EQ(run.main, (MainSettings{.Min_FormShow = false, .HintShow = true}));
    EXPECT_EQ(run.languageIndex, 0);

    run.languageIndex = 1;
    run.main.Min_FormShow = true;
    run.Exit(store);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(store.closeCount(), 0);
    EXPECT_EQ(std::get<std::int32_t>(store.values["HintShow"]), 0);
}

// A killed program runs no save: the language switch of that run is lost, the old value stays.
TEST(Settings, KilledProgramLeavesTheOldLanguage) {
    MemorySettingsStore store;
    store.values = {{"Languare", 1}};
    ProgramRun run(store);
    run.languageIndex = 0;  // switched to English, then killed: no Exit
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(std::get<std::int32_t>(store.values["Languare"]), 1);
}

TEST(Settings, TogglesFlipOneFlagEach) {
    MainSettings settings{.Min_FormShow = false, .HintShow = true};
    ToggleHintShow(settings);
    EXPECT_EQ(settings, (MainSettings{.Min_FormShow = false, .HintShow = false}));
    ToggleMin_FormShow(settings);
    ToggleMin_FormShow(settings);
    ToggleMin_FormShow(settings);
    EXPECT_EQ(settings, (MainSettings{.Min_FormShow = true, .HintShow = false}));
}

}  // namespace
}  // namespace quillex
