#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "dialogs/CSetupDialog.h"
#include "platform/PortNames.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace {

class SetupDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_devices.isValid());
        m_folder = m_devices.path().toStdString();
        std::ofstream(m_folder + "/ttyUSB0") << "";
        std::ofstream(m_folder + "/ttyS1") << "";
        PortNames().SetDeviceFolder(m_folder);
        PortNames().SetOverride(3, "tcp://127.0.0.1:4001");
    }
    void TearDown() override {
        PortNames().ClearOverrides();
        PortNames().SetDeviceFolder("/dev");
    }

    QComboBox* Combo(CSetupDialog& dialog) { return dialog.findChild<QComboBox*>("portCombo"); }
    QString DeviceShown(CSetupDialog& dialog) {
        return dialog.findChild<QLabel*>("portDeviceLabel")->toolTip();
    }

    QTemporaryDir m_devices;
    std::string m_folder;
};

TEST_F(SetupDialogTest, OffersSixteenPortsWithTheirDevicesAndReturnsTheChoice) {
    CSetupDialog dialog;
    dialog.SetPortNumber(16);
    dialog.show();
    QComboBox* combo = Combo(dialog);
    ASSERT_EQ(combo->count(), 16);
    EXPECT_EQ(combo->itemText(0), "COM1");
    EXPECT_EQ(combo->currentText(), "COM16");
    EXPECT_EQ(DeviceShown(dialog), QString::fromStdString(m_folder + "/ttyS15 (not present)"));
    EXPECT_EQ(dialog.windowTitle(), "Setup");
    EXPECT_TRUE(SaveDialogPicture(&dialog, "setup"));

    // OK without a change keeps 16.
    QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.PortNumber(), 16);

    // Choosing from the list: the device follows the entry.
    dialog.SetPortNumber(2);
    dialog.show();
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(DeviceShown(dialog), QString::fromStdString(m_folder + "/ttyUSB0"));
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(DeviceShown(dialog), QString::fromStdString(m_folder + "/ttyS1"));
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(DeviceShown(dialog), "tcp://127.0.0.1:4001");
    dialog.accept();
    EXPECT_EQ(dialog.PortNumber(), 3);
}

TEST_F(SetupDialogTest, TypedNameChoosesItsPortOtherTextNoneAndCancelOrABodyClickKeepsIt) {
    CSetupDialog dialog;
    const auto typeAndAccept = [&](int current, const char* text) {
        dialog.SetPortNumber(current);
        dialog.show();
        QLineEdit* edit = Combo(dialog)->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        dialog.accept();
        return dialog.PortNumber();
    };
    // The current port's own name, retyped, keeps that port.
    EXPECT_EQ(typeAndAccept(2, "COM2"), 2);
    EXPECT_EQ(typeAndAccept(2, "com1"), 1);
    EXPECT_EQ(DeviceShown(dialog), QString::fromStdString(m_folder + "/ttyUSB0"));
    EXPECT_EQ(typeAndAccept(2, "COM17"), 0);
    EXPECT_TRUE(DeviceShown(dialog).isEmpty());
    EXPECT_EQ(typeAndAccept(2, "COM"), 0);

    dialog.SetPortNumber(7);
    dialog.show();
    QTest::keyClick(Combo(dialog), Qt::Key_Down);
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.PortNumber(), 7);

    dialog.SetPortNumber(7);
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.PortNumber(), 7);
}

}  // namespace
