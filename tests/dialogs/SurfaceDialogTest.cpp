// The control surface's settings: ports kept by name, why none are listed, a mapping that
// does not read named with its line and not to be chosen, and a knob learned from two detents.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

#include "dialogs/CSurfaceDialog.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace {

void Choose(QComboBox* combo, const QString& data) {
    combo->setCurrentIndex(combo->findData(data));
    emit combo->activated(combo->currentIndex());
}

TEST(SurfaceDialogTest, PortsMappingsAndLearningAsTheUserSeesThem) {
    QStandardPaths::setTestModeEnabled(true);
    const QString folder = QString::fromStdString(UserMappingFolder());
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile broken(folder + "/broken.json");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{\n \"format\": \"vcp-surface-mapping\",\n \"version\": 1,,\n}\n");
    broken.close();

    SurfaceSettings settings;
    settings.enabled = true;
    settings.input = "nanoKONTROL2:nanoKONTROL2 MIDI 1";
    settings.output = settings.input;
    const MidiPorts ports{
        {"Midi Through:Midi Through Port-0"}, {"Midi Through:Midi Through Port-0"}, {}};
    CSurfaceDialog dialog(settings, ports, {"UNIT 1", "ALT"});
    auto* input = dialog.findChild<QComboBox*>("inputCombo");
    auto* mapping = dialog.findChild<QComboBox*>("mappingCombo");
    auto* ok = dialog.findChild<QPushButton*>("okButton");
    // The controller unplugged stays chosen, by its name.
    EXPECT_EQ(dialog.ChosenSettings(), settings);
    EXPECT_EQ(input->count(), 3);

    // A broken file is listed as broken; chosen, it says why in full.
    const int brokenItem = mapping->findData("broken");
    EXPECT_EQ(mapping->itemText(brokenItem), "broken.json (broken)");
    Choose(mapping, "broken");
    auto* mappingError = dialog.findChild<QLabel*>("mappingErrorLabel");
    EXPECT_TRUE(mappingError->text().contains("broken.json, line 3: not JSON"));
    EXPECT_FALSE(ok->isEnabled());
    // The longest refusal shows whole in its place.
    mappingError->setText(QString::fromStdString(
        "generic-eight-encoders.json, line 12: \"encoding\" is absolute, twos-complement, "
        "binary-offset, sign-bit or sign-bit-inverted."));
    EXPECT_LE(mappingError->heightForWidth(mappingError->width()), mappingError->height());
    Choose(mapping, "mackie-control");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.ChosenSettings().mapping, "mackie-control");

    // Knob 2 from two detents right and left in binary offset; what the panel just sent to
    // the controller and comes back is no move of the user's.
    dialog.findChild<QComboBox*>("controlCombo")->setCurrentIndex(1);
    dialog.findChild<QPushButton*>("learnButton")->click();
    for (uint8_t value : {0x41, 0x3F, 0x41}) {
        dialog.Learn({0xB0, 0x30, value});
    }
    EXPECT_FALSE(dialog.LearnedMapping());
    dialog.Learn({0xB0, 0x30, 0x3F});
    ASSERT_TRUE(dialog.LearnedMapping());
    EXPECT_EQ(dialog.LearnedMapping()->name, "Mackie control");
    EXPECT_EQ(dialog.LearnedMapping()->knobs[1]->encoding, Encoding::BinaryOffset);
    EXPECT_EQ(dialog.LearnedMapping()->knobs[1]->control.number, 0x30);

    // One port both ways may echo, and a through port sends everything back: the dialog
    // warns.
    auto* warning = dialog.findChild<QLabel*>("loopWarningLabel");
    EXPECT_TRUE(warning->text().startsWith("One port both ways"));
    Choose(input, "Midi Through:Midi Through Port-0");
    EXPECT_TRUE(warning->text().startsWith("A through port sends back"));
    EXPECT_TRUE(SaveDialogPicture(&dialog, "surface"));

    // The MIDI system goes: the dialog says why, the choice stays.
    dialog.ShowPorts({{}, {}, "No JACK server runs on this machine."});
    EXPECT_EQ(dialog.findChild<QLabel*>("whyNoneLabel")->text(),
              "No JACK server runs on this machine.");
    EXPECT_EQ(dialog.ChosenSettings().input, "Midi Through:Midi Through Port-0");
    QFile::remove(folder + "/broken.json");
}

TEST(SurfaceDialogTest, ASettingThatNamesNoMappingSaysSoAndOneByItsOwnNameIsChosen) {
    QStandardPaths::setTestModeEnabled(true);
    SurfaceSettings settings;
    settings.mapping = "Mackie control";
    CSurfaceDialog byName(settings, {}, {});
    auto* mapping = byName.findChild<QComboBox*>("mappingCombo");
    EXPECT_EQ(mapping->currentData().toString(), "mackie-control");
    EXPECT_TRUE(byName.findChild<QPushButton*>("okButton")->isEnabled());

    settings.mapping = "Generic eight encoder";
    CSurfaceDialog missing(settings, {}, {});
    mapping = missing.findChild<QComboBox*>("mappingCombo");
    EXPECT_EQ(mapping->currentText(), "Generic eight encoder (not found)");
    EXPECT_EQ(missing.findChild<QLabel*>("mappingErrorLabel")->text(),
              "No mapping is named \"Generic eight encoder\", by its file or by its own name.");
    EXPECT_FALSE(missing.findChild<QPushButton*>("okButton")->isEnabled());
}

}  // namespace
