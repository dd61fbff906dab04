// Where QN2.ini is searched for, and the command-line override.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "app/ConfigLocation.h"
#include "app/ConfigStore.h"

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        Put(value);
    }
    ~ScopedEnvironment() { Put(m_old); }

  private:
    void Put(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_name, value->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_old;
};

class ConfigLocationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        g_configuration.Clear();
        ClearConfigurationOverride();
    }
    void TearDown() override {
        g_configuration.Clear();
        ClearConfigurationOverride();
    }

    std::string Folder(const std::string& name) {
        return root.filePath(QString::fromStdString(name)).toStdString();
    }

    // Writes QN2.ini into <base>/Korvanthe/KorvantheVCP/.
    void PlaceFile(const std::string& base, const std::string& bytes) {
        const QString folder = QString::fromStdString(base + "/Korvanthe/KorvantheVCP");
        ASSERT_TRUE(QDir().mkpath(folder));
        std::ofstream((folder + "/QN2.ini").toStdString(), std::ios::binary) << bytes;
    }

    QTemporaryDir root;
};

TEST_F(ConfigLocationTest, UserFolderThenEachSystemFolder) {
    ScopedEnvironment home("XDG_CONFIG_HOME", Folder("user"));
    ScopedEnvironment dirs("XDG_CONFIG_DIRS",
                           Folder("sys1") + ":relative/ignored::" + Folder("sys2"));
    const std::vector<std::string> expected = {
        Folder("user") + "/Korvanthe/KorvantheVCP/QN2.ini",
        Folder("sys1") + "/Korvanthe/KorvantheVCP/QN2.ini",
        Folder("sys2") + "/Korvanthe/KorvantheVCP/QN2.ini",
    };
    EXPECT_EQ(ConfigurationSearchPaths(), expected);
}

TEST_F(ConfigLocationTest, DefaultsWhenTheVariablesAreUnsetOrRelative) {
    ScopedEnvironment home_folder("HOME", Folder("home"));
    ScopedEnvironment home("XDG_CONFIG_HOME", std::string("not/absolute"));
    ScopedEnvironment dirs("XDG_CONFIG_DIRS", std::nullopt);
    const std::vector<std::string> expected = {
        Folder("home") + "/.config/Korvanthe/KorvantheVCP/QN2.ini",
        "/etc/xdg/Korvanthe/KorvantheVCP/QN2.ini",
    };
    EXPECT_EQ(ConfigurationSearchPaths(), expected);
}

TEST_F(ConfigLocationTest, NoHomeLeavesOnlyTheSystemFolders) {
    ScopedEnvironment home_folder("HOME", std::nullopt);
    ScopedEnvironment home("XDG_CONFIG_HOME", std::nullopt);
    ScopedEnvironment dirs("XDG_CONFIG_DIRS", Folder("sys") + "/");
    const std::vector<std::string> expected = {Folder("sys") + "/Korvanthe/KorvantheVCP/QN2.ini"};
    EXPECT_EQ(ConfigurationSearchPaths(), expected);
}

TEST_F(ConfigLocationTest, FirstFileFoundIsTheOneRead) {
    ScopedEnvironment home("XDG_CONFIG_HOME", Folder("user"));
    ScopedEnvironment dirs("XDG_CONFIG_DIRS", Folder("sys1") + ":" + Folder("sys2"));
    PlaceFile(Folder("sys1"), "[MOUSE]\nVISIBLE=FALSE\n");
    PlaceFile(Folder("sys2"), "[ROUTER]\nENABLED=TRUE\n");
    EXPECT_EQ(LoadConfiguration(), 1);
    EXPECT_EQ(TryGetSetting("MOUSE", "VISIBLE"), "FALSE");
    EXPECT_EQ(FindSection("ROUTER"), -1);

    g_configuration.Clear();
    PlaceFile(Folder("user"), "[MOUSE]\nVISIBLE=TRUE\n");
    EXPECT_EQ(LoadConfiguration(), 1);
    EXPECT_EQ(TryGetSetting("MOUSE", "VISIBLE"), "TRUE");
}

TEST_F(ConfigLocationTest, OverrideReplacesTheSearch) {
    ScopedEnvironment home("XDG_CONFIG_HOME", Folder("user"));
    PlaceFile(Folder("user"), "[MOUSE]\nVISIBLE=TRUE\n");
    SetConfigurationOverride(Folder("absent.ini"));
    EXPECT_EQ(ConfigurationCandidates(), std::vector<std::string>{Folder("absent.ini")});
    // A named file that is missing is not quietly swapped for another one.
    EXPECT_EQ(LoadConfiguration(), 0);
    EXPECT_EQ(FindSection("MOUSE"), -1);
    ClearConfigurationOverride();
    EXPECT_EQ(LoadConfiguration(), 1);
    EXPECT_EQ(FindSection("MOUSE"), 0);
}

TEST_F(ConfigLocationTest, NothingFoundAnywhere) {
    ScopedEnvironment home("XDG_CONFIG_HOME", Folder("user"));
    ScopedEnvironment dirs("XDG_CONFIG_DIRS", Folder("sys"));
    EXPECT_EQ(LoadConfiguration(), 0);
    EXPECT_EQ(g_configuration.SectionCount(), 0);
}

TEST_F(ConfigLocationTest, CommandLineOption) {
    EXPECT_EQ(ApplyConfigArgument({"vcp", "--port", "COM3"}), ConfigArgument::Absent);
    EXPECT_EQ(ConfigurationOverride(), "");
    EXPECT_EQ(ApplyConfigArgument({"vcp", "--config", "/tmp/a.ini"}), ConfigArgument::Applied);
    EXPECT_EQ(ConfigurationOverride(), "/tmp/a.ini");
    EXPECT_EQ(ApplyConfigArgument({"vcp", "--config=/tmp/b.ini", "--config", "/tmp/c.ini"}),
              ConfigArgument::Applied);
    EXPECT_EQ(ConfigurationOverride(), "/tmp/c.ini");
    // The program name is never an option, even when it looks like one.
    ClearConfigurationOverride();
    EXPECT_EQ(ApplyConfigArgument({"--config=/x.ini"}), ConfigArgument::Absent);
    EXPECT_EQ(ApplyConfigArgument({"vcp", "--configuration=/x.ini"}), ConfigArgument::Absent);
    // Without a file nothing changes.
    SetConfigurationOverride("/kept.ini");
    EXPECT_EQ(ApplyConfigArgument({"vcp", "--config"}), ConfigArgument::MissingFile);
    EXPECT_EQ(ApplyConfigArgument({"vcp", "--config="}), ConfigArgument::MissingFile);
    EXPECT_EQ(ConfigurationOverride(), "/kept.ini");
}

}  // namespace
