// The port number kept between runs, through real QSettings files in a temporary folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "app/SavedPort.h"

namespace {

class SavedPortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        QCoreApplication::setApplicationName(QStringLiteral("vcp-test"));
    }
    void TearDown() override { QCoreApplication::setApplicationName(QString()); }

    void StoreText(const QString& text) {
        QSettings settings(QStringLiteral("Korvanthe"), QStringLiteral("vcp-test"));
        settings.setValue(QStringLiteral("Ports/Port"), text);
    }

    QTemporaryDir folder;
};

TEST_F(SavedPortTest, FirstRunGivesPortOne) {
    EXPECT_EQ(ReadSavedPort(), 1);
}

TEST_F(SavedPortTest, EveryOfferedPortSurvivesARoundTrip) {
    for (int port = 1; port <= 16; ++port) {
        SavePortNumber(port);
        EXPECT_EQ(ReadSavedPort(), port);
    }
}

TEST_F(SavedPortTest, StoredAsDecimalTextUnderPorts) {
    SavePortNumber(12);
    const QString file = folder.path() + QStringLiteral("/Korvanthe/vcp-test.conf");
    QSettings raw(file, QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("Ports/Port")).toString(), QStringLiteral("12"));
}

TEST_F(SavedPortTest, StoredTextIsConverted) {
    StoreText(QStringLiteral("7"));
    EXPECT_EQ(ReadSavedPort(), 7);
    StoreText(QStringLiteral("12"));
    EXPECT_EQ(ReadSavedPort(), 12);
    StoreText(QStringLiteral("x"));
    EXPECT_EQ(ReadSavedPort(), 0);
    StoreText(QStringLiteral("1x"));
    EXPECT_EQ(ReadSavedPort(), 10);
    StoreText(QString());
    EXPECT_EQ(ReadSavedPort(), 1);
}

TEST_F(SavedPortTest, UnnamedProgramUsesItsOwnName) {
    QCoreApplication::setApplicationName(QString());
    SavePortNumber(5);
    EXPECT_EQ(ReadSavedPort(), 5);
    QSettings named(QStringLiteral("Korvanthe"), QStringLiteral("KorvantheVCP"));
    EXPECT_EQ(named.value(QStringLiteral("Ports/Port")).toString(), QStringLiteral("5"));
}

TEST(PortNumberFromTextTest, Conversions) {
    EXPECT_EQ(PortNumberFromText(""), 1);
    EXPECT_EQ(PortNumberFromText("0"), 0);
    EXPECT_EQ(PortNumberFromText("9"), 9);
    EXPECT_EQ(PortNumberFromText("-"), 0);
    EXPECT_EQ(PortNumberFromText("10"), 10);
    EXPECT_EQ(PortNumberFromText("16"), 16);
    // Only the last character counts past the first.
    EXPECT_EQ(PortNumberFromText("07"), 17);
    EXPECT_EQ(PortNumberFromText("123"), 13);
    EXPECT_EQ(PortNumberFromText("ab"), 10);
}

}  // namespace
