#include "platform/qsettings_store.h"

#include <QDir>
#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <string>

#include "core/temp_dir.h"

namespace quillex {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Points the per-user configuration of the native format at a fresh folder for one test, so
// that nothing touches the real home directory. A new folder for every test also means a new
// file name, which Qt has never cached.
class QSettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(home_.path().string()));
    }

    std::filesystem::path ConfFile() const { return home_ / "Tarnwell" / "Pellam.conf"; }

    void WriteConf(const std::string& body) {
        std::filesystem::create_directories(ConfFile().parent_path());
        WriteBytes(ConfFile(), "[General]\n" + body);
    }

    TempDir home_;
};

TEST_F(QSettingsStoreTest, FirstRunWritesTheDefaultsAndANewRunReadsThemBack) {
    QSettingsStore store;
    MainSettings main = LoadMainSettings(store);
    std::int32_t language = LoadLanguage(store);
    EXPECT_EQ(main, (MainSettings{.Min_FormShow = false, .HintShow = true}));
    EXPECT_EQ(language, 0);

    SaveLanguage(store, 1);
    main.Min_FormShow = true;
    main.HintShow = false;
    SaveMainSettings(store, main);

    const std::string text = ReadBytes(ConfFile());
    EXPECT_NE(text.find("Languare=1"), std::string::npos) << text;
    EXPECT_NE(text.find("HintShow=0"), std::string::npos) << text;
    EXPECT_NE(text.find("Min_FormShow=1"), std::string::npos) << text;

    QSettingsStore next;
    EXPECT_EQ(LoadMainSettings(next), (MainSettings{.Min_FormShow = true, .HintShow = false}));
    EXPECT_EQ(LoadLanguage(next), 1);
}

// What another process finds: the file's text only.
TEST_F(QSettingsStoreTest, IntegerTextReadsAsTheInteger) {
    WriteConf("Min_FormShow=5\nHintShow=0\nLanguare=-7\n");
    QSettingsStore store;
    EXPECT_EQ(LoadMainSettings(store), (MainSettings{.Min_FormShow = true, .HintShow = false}));
    EXPECT_EQ(LoadLanguage(store), -7);

    SaveMainSettings(store, LoadMainSettings(store));
    EXPECT_NE(ReadBytes(ConfFile()).find("Min_FormShow=1"), std::string::npos);  // 5 becomes 1
}

TEST_F(QSettingsStoreTest, ReadIntegerAcceptsOnlyA32BitIntegerText) {
    struct Case {
        const char* stored;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"\"12\"", true, 12},
        {"2147483648", false, 0},
        {"abc", false, 0},
        {"0x10", false, 0},
        {"1.0", false, 0},
        {"+1", false, 0},
        {"1, 2", false, 0},
        {"true", false, 0},
        {"", false, 0},
        {"@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x1)", true, 1},  // Qt's own form of an int
        {"@ByteArray(1)", false, 0},
    };
    int round = 0;
    for (const Case& c : cases) {
        // A folder per case: Qt keeps a parsed file cached by its name.
        const std::filesystem::path home = home_ / ("case" + std::to_string(round++));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(home.string()));
        std::filesystem::create_directories(home / "Tarnwell");
        WriteBytes(home / "Tarnwell" / "Pellam.conf",
                   std::string("[General]\nLanguare=") + c.stored + "\n");
        QSettingsStore store;
        ASSERT_TRUE(store.Open()) << c.stored;
        ASSERT_TRUE(store.ValueExists(kLanguageName)) << c.stored;
        if (c.ok) {
            EXPECT_EQ(store.ReadInteger(kLanguageName), c.value) << c.stored;
        } else {
            EXPECT_THROW(store.ReadInteger(kLanguageName), SettingsError) << c.stored;
        }
        store.Close();
    }
}

TEST_F(QSettingsStoreTest, HandWrittenTextInHintShowIsWronglyTypedAndRewrittenAsZero) {
    WriteConf("Min_FormShow=1\nHintShow=yes\n");
    QSettingsStore store;
    const MainSettings main = LoadMainSettings(store);
    EXPECT_EQ(main, (MainSettings{.Min_FormShow = true, .HintShow = false}));
    SaveMainSettings(store, main);
    EXPECT_NE(ReadBytes(ConfFile()).find("HintShow=0"), std::string::npos);
}

TEST_F(QSettingsStoreTest, HandWrittenTextInMinFormShowLeavesBothFalse) {
    WriteConf("Min_FormShow=on\nHintShow=1\n");
    QSettingsStore store;
    EXPECT_EQ(LoadMainSettings(store), (MainSettings{.Min_FormShow = false, .HintShow = false}));
}

TEST_F(QSettingsStoreTest, AStoreThatCannotBeWrittenKeepsNothingAndSkipsTheSecondWrite) {
    // A configuration folder beneath a plain file can never be created, not even by root.
    WriteBytes(home_ / "blocker", "");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((home_ / "blocker" / "config").string()));
    QSettingsStore store;
    EXPECT_EQ(LoadMainSettings(store), (MainSettings{.Min_FormShow = false, .HintShow = true}));
    ASSERT_TRUE(store.Open());
    EXPECT_THROW(store.WriteInteger(kHintShowName, 1), SettingsError);
    store.Close();
    SaveMainSettings(store, {.Min_FormShow = true, .HintShow = true});  // swallowed
    EXPECT_FALSE(std::filesystem::exists(home_ / "blocker" / "config"));
}

TEST_F(QSettingsStoreTest, CallsOnAClosedKeyFail) {
    QSettingsStore store;
    EXPECT_FALSE(store.ValueExists(kHintShowName));
    EXPECT_THROW(store.ReadInteger(kHintShowName), SettingsError);
    EXPECT_THROW(store.WriteInteger(kHintShowName, 1), SettingsError);
}

}  // namespace
}  // namespace quillex
