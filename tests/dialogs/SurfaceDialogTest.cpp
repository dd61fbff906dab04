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

    Choose(mapping, "broken");
    EXPECT_TRUE(dialog.findChild<QLabel*>("mappingErrorLabel")
                    ->text()
                    .contains("broken.json, line 3: not JSON"));
    EXPECT_FALSE(ok->isEnabled());
    Choose(mapping, "mackie-control");
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(dialog.ChosenSettings().mapping, "mackie-control");

    // Knob 2 from one detent right and one left in binary offset.
    dialog.findChild<QComboBox*>("controlCombo")->setCurrentIndex(1);
    dialog.findChild<QPushButton*>("learnButton")->click();
    dialog.Learn({0xB0, 0x30, 0x41});
    EXPECT_FALSE(dialog.LearnedMapping());
    dialog.Learn({0xB0, 0x30, 0x3F});
    ASSERT_TRUE(dialog.LearnedMapping());
    EXPECT_EQ(dialog.LearnedMapping()->name, "Mackie control");
    EXPECT_EQ(dialog.LearnedMapping()->knobs[1]->encoding, Encoding::BinaryOffset);
    EXPECT_EQ(dialog.LearnedMapping()->knobs[1]->control.number, 0x30);

    // The MIDI system goes: the dialog says why, the choice stays.
    Choose(input, "Midi Through:Midi Through Port-0");
    dialog.ShowPorts({{}, {}, "No JACK server runs on this machine."});
    EXPECT_EQ(dialog.findChild<QLabel*>("whyNoneLabel")->text(),
              "No JACK server runs on this machine.");
    EXPECT_EQ(dialog.ChosenSettings().input, "Midi Through:Midi Through Port-0");
    QFile::remove(folder + "/broken.json");
}

}  // namespace
