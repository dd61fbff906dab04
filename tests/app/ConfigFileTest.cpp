// Reading QN2.ini files from disk into the store, byte for byte.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "app/ConfigLocation.h"
#include "app/ConfigStore.h"

namespace {

class ConfigFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        g_configuration.Clear();
        ClearConfigurationOverride();
    }
    void TearDown() override {
        g_configuration.Clear();
        ClearConfigurationOverride();
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = folder.filePath(QString::fromStdString(name)).toStdString();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    // Loads `bytes` from a real file into a fresh store.
    ConfigStore Load(const std::string& bytes) {
        ConfigStore store;
        EXPECT_EQ(LoadConfigurationFile(Write("QN2.ini", bytes), store), 1);
        return store;
    }

    QTemporaryDir folder;
};

TEST_F(ConfigFileTest, PanelKeysAreReadExactly) {
    const ConfigStore store =
        Load("[MOUSE]\nVISIBLE=TRUE\n[ROUTER]\nENABLED = TRUE\nPOLARITY=LOW\nDWELL_FRAMES=25");
    EXPECT_EQ(store.TryGetSetting("MOUSE", "VISIBLE"), "TRUE");
    // The key is trimmed, the value is not: it starts with the blank after "=".
    EXPECT_EQ(store.TryGetSetting("ROUTER", "ENABLED"), " TRUE");
    EXPECT_EQ(store.TryGetSetting("ROUTER", "POLARITY"), "LOW");
    // The last line needs no line feed.
    EXPECT_EQ(store.TryGetSetting("ROUTER", "DWELL_FRAMES"), "25");
    EXPECT_EQ(store.FindSection("MOUSE"), 0);
    EXPECT_EQ(store.FindSection("ROUTER"), 1);
    EXPECT_EQ(store.FindKey("DWELL_FRAMES", 1), 2);
    EXPECT_EQ(store.FindSection("mouse"), -1);
    EXPECT_EQ(store.TryGetSetting("MOUSE", "visible"), std::nullopt);
}

TEST_F(ConfigFileTest, WindowsAndUnixLineEndsGiveTheSameStore) {
    const std::string unix_text = "[MOUSE]\nVISIBLE=TRUE\n\n[ROUTER]\nPOLARITY=LOW\n";
    std::string windows_text;
    for (char c : unix_text) {
        if (c == '\n') {
            windows_text += '\r';
        }
        windows_text += c;
    }
    const ConfigStore from_unix = Load(unix_text);
    const ConfigStore from_windows = Load(windows_text);
    ASSERT_EQ(from_windows.SectionCount(), from_unix.SectionCount());
    for (int s = 0; s < from_unix.SectionCount(); ++s) {
        EXPECT_EQ(from_windows.SectionName(s), from_unix.SectionName(s));
        ASSERT_EQ(from_windows.Entries(s).size(), from_unix.Entries(s).size());
        for (std::size_t k = 0; k < from_unix.Entries(s).size(); ++k) {
            EXPECT_EQ(from_windows.Entries(s)[k].key, from_unix.Entries(s)[k].key);
            EXPECT_EQ(from_windows.Entries(s)[k].value, from_unix.Entries(s)[k].value);
        }
    }
    EXPECT_EQ(from_windows.TryGetSetting("MOUSE", "VISIBLE"), "TRUE");
}

TEST_F(ConfigFileTest, CarriageReturnsAreDroppedAnywhere) {
    const ConfigStore store = Load("[MO\rUSE]\r\nVIS\rIBLE=TR\rUE\r\r\n\r\n[\rX]\r");
    EXPECT_EQ(store.TryGetSetting("MOUSE", "VISIBLE"), "TRUE");
    // A line of carriage returns alone is empty and skipped; "[\rX]" is the header X.
    EXPECT_EQ(store.SectionCount(), 1);
    EXPECT_EQ(store.FindSection("X"), -1);
}

TEST_F(ConfigFileTest, HeaderBracketRules) {
    const ConfigStore store =
        Load("[[ROUTER]]\nA=1\n[ ROUTER ]\nB=2\n[MOUSE\nC=3\n[]\nD=4\n[[[]]\nE=5\n");
    // Repeated brackets go; blanks inside stay and make another section.
    EXPECT_EQ(store.TryGetSetting("ROUTER", "A"), "1");
    EXPECT_EQ(store.TryGetSetting("ROUTER", "B"), std::nullopt);
    EXPECT_EQ(store.TryGetSetting(" ROUTER ", "B"), "2");
    // Without its closing bracket the line is a setting without "=": empty key, value
    // without the first character. It lands in the section " ROUTER ".
    EXPECT_EQ(store.FindSection("MOUSE"), -1);
    EXPECT_EQ(store.TryGetSetting(" ROUTER ", ""), "MOUSE");
    EXPECT_EQ(store.TryGetSetting(" ROUTER ", "C"), "3");
    // Headers of brackets alone name the empty section, which then holds D and E.
    EXPECT_EQ(store.TryGetSetting("", "D"), "4");
    EXPECT_EQ(store.TryGetSetting("", "E"), "5");
    EXPECT_EQ(store.SectionCount(), 3);
}

TEST_F(ConfigFileTest, SettingLineRules) {
    const ConfigStore store =
        Load("before=first\n[S]\nA=B=C\n \t KEY \t=  value  \nNOEQUALS\n=novalue\nEMPTY=\n   \n");
    // Settings before the first header belong to the empty section name.
    EXPECT_EQ(store.FindSection(""), 0);
    EXPECT_EQ(store.TryGetSetting("", "before"), "first");
    EXPECT_EQ(store.TryGetSetting("S", "A"), "B=C");
    EXPECT_EQ(store.TryGetSetting("S", "KEY"), "  value  ");
    EXPECT_EQ(store.TryGetSetting("S", "EMPTY"), "");
    // Lines without "=" and lines starting with "=" share the empty key; the last one wins:
    // "NOEQUALS" gave "OEQUALS", "=novalue" gave "novalue", the blank line gave "  ".
    EXPECT_EQ(store.TryGetSetting("S", ""), "  ");
    EXPECT_EQ(store.Entries(store.FindSection("S")).size(), 4u);
}

TEST_F(ConfigFileTest, RepeatedSectionsContinueAndRepeatedKeysReplace) {
    const ConfigStore store = Load("[A]\nX=1\nY=2\n[B]\nZ=3\n[A]\nX=9\nW=4\n");
    ASSERT_EQ(store.SectionCount(), 2);
    const auto& entries = store.Entries(store.FindSection("A"));
    ASSERT_EQ(entries.size(), 3u);
    // Order of first appearance, with the later value.
    EXPECT_EQ(entries[0].key, "X");
    EXPECT_EQ(entries[0].value, "9");
    EXPECT_EQ(entries[1].key, "Y");
    EXPECT_EQ(entries[2].key, "W");
}

TEST_F(ConfigFileTest, BytesAreKeptAsTheyStand) {
    const std::string value("caf\xe9\0x", 6);
    const ConfigStore store = Load("[S]\nK=" + value + "\n");
    EXPECT_EQ(store.TryGetSetting("S", "K"), value);
}

TEST_F(ConfigFileTest, LinesLongerThanOneReadChunk) {
    const std::string long_value(10000, 'v');
    const ConfigStore store = Load("[S]\nK=" + long_value + "\r\nL=2");
    EXPECT_EQ(store.TryGetSetting("S", "K"), long_value);
    EXPECT_EQ(store.TryGetSetting("S", "L"), "2");
}

TEST_F(ConfigFileTest, EmptyFileIsReadButStoresNothing) {
    const ConfigStore store = Load("");
    EXPECT_EQ(store.SectionCount(), 0);
    EXPECT_EQ(store.FindSection(""), -1);
}

TEST_F(ConfigFileTest, FilesThatCannotBeReadReportZero) {
    ConfigStore store;
    EXPECT_EQ(LoadConfigurationFile(folder.filePath("absent.ini").toStdString(), store), 0);
    EXPECT_EQ(LoadConfigurationFile(folder.path().toStdString(), store), 0);
    EXPECT_EQ(LoadConfigurationFile("", store), 0);
    EXPECT_EQ(store.SectionCount(), 0);
}

TEST_F(ConfigFileTest, OversizedFileStopsWithTheSettingsReadSoFar) {
    std::string bytes = "[S]\nK=1\n";
    bytes += std::string(2 * 1024 * 1024, '#');
    ConfigStore store;
    EXPECT_EQ(LoadConfigurationFile(Write("big.ini", bytes), store), 0);
    EXPECT_EQ(store.TryGetSetting("S", "K"), "1");
}

TEST_F(ConfigFileTest, ProgramWideStoreFromTheOverride) {
    SetConfigurationOverride(Write("mine.ini", "[MOUSE]\nVISIBLE=TRUE\n"));
    EXPECT_EQ(LoadConfiguration(), 1);
    EXPECT_EQ(GetSetting("MOUSE", "VISIBLE"), "TRUE");
    EXPECT_EQ(FindSection("ROUTER"), -1);
    EXPECT_EQ(FindKey("VISIBLE", FindSection("MOUSE")), 0);
    EXPECT_EQ(FindKey("VISIBLE", -1), -1);
}

TEST_F(ConfigFileTest, MissingFileLeavesTheStoreAsItWas) {
    StoreSetting("KEPT", "K", "v", ConfigStore::Create::Yes);
    SetConfigurationOverride(folder.filePath("none.ini").toStdString());
    EXPECT_EQ(LoadConfiguration(), 0);
    EXPECT_EQ(FindSection("KEPT"), 0);
    EXPECT_EQ(FindSection("MOUSE"), -1);
    EXPECT_EQ(FindSection("ROUTER"), -1);
}

TEST_F(ConfigFileTest, MissingSettingsRaiseATypedErrorOrGiveNothing) {
    StoreSetting("MOUSE", "VISIBLE", "TRUE", ConfigStore::Create::Yes);
    EXPECT_EQ(TryGetSetting("MOUSE", "HIDDEN"), std::nullopt);
    EXPECT_EQ(TryGetSetting("ROUTER", "VISIBLE"), std::nullopt);
    try {
        GetSetting("ROUTER", "ENABLED");
        FAIL() << "a missing section must raise";
    } catch (const MissingSetting& missing) {
        EXPECT_EQ(missing.Section(), "ROUTER");
        EXPECT_EQ(missing.Key(), "ENABLED");
    }
    // Callers may catch the standard type as well.
    EXPECT_THROW(GetSetting("MOUSE", "HIDDEN"), std::invalid_argument);
}

TEST(ConfigStoreTest, StoreWithoutCreateOnlyReplaces) {
    ConfigStore store;
    EXPECT_FALSE(store.StoreSetting("S", "K", "1", ConfigStore::Create::No));
    EXPECT_EQ(store.SectionCount(), 0);
    EXPECT_TRUE(store.StoreSetting("S", "K", "1", ConfigStore::Create::Yes));
    EXPECT_FALSE(store.StoreSetting("S", "OTHER", "2", ConfigStore::Create::No));
    EXPECT_EQ(store.FindKey("OTHER", 0), -1);
    EXPECT_TRUE(store.StoreSetting("S", "K", "3", ConfigStore::Create::No));
    EXPECT_EQ(store.TryGetSetting("S", "K"), "3");
}

TEST(ConfigStoreTest, IndexesOutsideTheStoreAreSafe) {
    ConfigStore store;
    store.StoreSetting("S", "K", "1", ConfigStore::Create::Yes);
    EXPECT_EQ(store.FindKey("K", 1), -1);
    EXPECT_EQ(store.FindKey("K", -7), -1);
    EXPECT_EQ(store.SectionName(5), "");
    EXPECT_TRUE(store.Entries(-1).empty());
}

// Thousands of settings in sections visited in turn, keys coming back with new values: every
// setting is found where it was first stored, with its last value, after the store has grown
// many times; a cleared store finds nothing and starts again at index 0.
TEST(ConfigStoreTest, ManySettingsStayFoundAsTheStoreGrows) {
    constexpr int kSections = 40;
    constexpr int kKeys = 150;
    std::string file;
    for (int round = 0; round < 3; ++round) {
        for (int s = 0; s < kSections; ++s) {
            file += "[Section " + std::to_string(s) + "]\n";
            for (int k = 0; k < kKeys; k += round + 1) {
                file += "Key " + std::to_string(k) + "=" + std::to_string(round * 1000 + k) + "\n";
            }
        }
    }
    ConfigStore store;
    ConfigParser parser(store);
    parser.Feed(file);
    parser.Finish();
    ASSERT_EQ(store.SectionCount(), kSections);
    for (int s = 0; s < kSections; ++s) {
        const std::string section = "Section " + std::to_string(s);
        ASSERT_EQ(store.FindSection(section), s);
        ASSERT_EQ(store.Entries(s).size(), static_cast<size_t>(kKeys));
        for (int k = 0; k < kKeys; ++k) {
            const int lastRound = k % 3 == 0 ? 2 : (k % 2 == 0 ? 1 : 0);
            const std::string key = "Key " + std::to_string(k);
            ASSERT_EQ(store.FindKey(key, s), k);
            ASSERT_EQ(store.TryGetSetting(section, key), std::to_string(lastRound * 1000 + k));
        }
    }
    store.Clear();
    EXPECT_EQ(store.FindSection("Section 0"), -1);
    EXPECT_TRUE(store.StoreSetting("Section 7", "Key 1", "x", ConfigStore::Create::Yes));
    EXPECT_EQ(store.FindSection("Section 7"), 0);
    EXPECT_EQ(store.FindKey("Key 1", 0), 0);
}

TEST(ConfigParserTest, LinesSplitAcrossPieces) {
    ConfigStore store;
    ConfigParser parser(store);
    for (char c : std::string("[RO\r\nUTER]\n[ROUTER]\nPOL\r")) {
        parser.Feed(std::string_view(&c, 1));
    }
    parser.Feed("ARITY=LO");
    parser.Feed("W\r");
    parser.Finish();
    EXPECT_EQ(store.TryGetSetting("ROUTER", "POLARITY"), "LOW");
    // "[RO" then "UTER]" are two settings lines, not a header.
    EXPECT_EQ(store.TryGetSetting("", ""), "TER]");
}

}  // namespace
