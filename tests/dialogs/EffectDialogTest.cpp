#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/CEffectDialog.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/dialogs/FilesSimFixture.h"

namespace {

// The line to the units goes dead once they have answered `answers` requests, as when a
// unit hangs half-way through a piece of work.
class LineThatFallsSilent : public LinePeer {
  public:
    LineThatFallsSilent(SimLine& units, int answers) : m_units(units), m_answers(answers) {}
    void OnMasterByte(InProcessLine& line, uint8_t byte) override {
        if (m_units.RequestsAnswered() < m_answers) {
            m_units.OnMasterByte(line, byte);
        }
    }

  private:
    SimLine& m_units;
    int m_answers;
};

class EffectDialogTest : public StorageDialogTest {
  protected:
    void Open(std::unique_ptr<OnScreenKeyboard> keyboard = NoKeyboard()) {
        dialog = std::make_unique<CEffectDialog>(std::move(keyboard));
        dialog->OnInitDialog();
        list = Child<QListWidget>(*dialog, "effectList");
        status = Child<QLabel>(*dialog, "statusLabel");
    }
    static std::unique_ptr<OnScreenKeyboard> NoKeyboard() {
        return std::make_unique<OnScreenKeyboard>(QStringList{"vcp-test-no-such-keyboard"});
    }
    void Click(const char* button) {
        QTest::mouseClick(Child<QPushButton>(*dialog, button), Qt::LeftButton);
    }
    QComboBox* Combo(const char* name) { return Child<QComboBox>(*dialog, name); }
    void Choose(const char* combo, const QString& item) {
        Combo(combo)->setCurrentIndex(Combo(combo)->findText(item));
    }
    void Name(const QString& name) { Child<QLineEdit>(*dialog, "effectNameEdit")->setText(name); }
    std::vector<StoredEffect>& Effects() { return Unit(1).Storage().Effects(); }

    std::unique_ptr<CEffectDialog> dialog;
    QListWidget* list = nullptr;
    QLabel* status = nullptr;
};

TEST_F(EffectDialogTest, LoadSaveDeleteAndCloseKeepTheKeyframeMenuInStep) {
    Effects()[0].assignments = {1, 2, 135, 3, 4, 5};
    g_paramTable[4].name = g_paramTable[2].name;  // the fourth knob names the second's twin
    Open();
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(1)->text(), "Wipe Left");
    EXPECT_EQ(Combo("knobCombo1")->currentText(), "None");
    EXPECT_EQ(Combo("buttonCombo1")->itemText(1), "FG View");

    list->setCurrentRow(0);
    Click("loadButton");
    EXPECT_EQ(status->text(), " Status: Effect Fade Up has been loaded (3 keyframes).");
    const EffectRecord& fade = g_effectTable[0];
    EXPECT_EQ(fade.keyframeCount, 3);
    EXPECT_EQ(fade.currentKeyframe, 1);
    EXPECT_EQ(fade.keyframes[2].time, 50);
    EXPECT_EQ(fade.keyframes[1].bytes, (std::array<uint8_t, 3>{50, 50, 0}));
    const std::vector<uint8_t> knobs(g_keyframeKnobMap, g_keyframeKnobMap + kKnobCount);
    EXPECT_EQ(knobs, (std::vector<uint8_t>{1, 2, 3, 4, 5, 128, 128, 128}));
    EXPECT_EQ(g_keyframeFunctionMap[0], 135 - 128);
    EXPECT_EQ(Combo("knobCombo2")->currentText(), "Transparency");
    EXPECT_EQ(Combo("knobCombo4")->currentText(), "Transparency");
    EXPECT_EQ(Combo("buttonCombo1")->currentText(), "Linear,Luma,Chroma");
    SaveDialogPicture(dialog.get(), "effects");

    // Save: the combos' knobs, the twin as itself, and the fifth knob the load brought go
    // to the new effect.
    Choose("knobCombo3", "Clip");
    Name("Titles");
    Click("saveButton");
    ASSERT_EQ(Effects().size(), 3u);
    EXPECT_EQ(Effects()[2].name, "Titles");
    EXPECT_EQ(Effects()[2].assignments, (std::vector<uint8_t>{1, 2, 0, 4, 5}));
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(g_currentEffect, 2);
    EXPECT_EQ(status->text(), " Status: Effect Titles has been saved.");
    Effects()[2].keyframes = {{10, {}}, {20, {}}};
    Click("loadButton");

    // Deleting the effect between two loaded ones: each keeps its load in its new place.
    list->setCurrentRow(1);
    Click("deleteButton");
    ASSERT_EQ(Effects().size(), 2u);
    EXPECT_EQ(Effects()[1].name, "Titles");
    EXPECT_EQ(list->item(1)->text(), "Titles");
    EXPECT_EQ(status->text(), " Status: Effect Wipe Left has been deleted.");
    EXPECT_EQ(g_keyframeKnobMap[4], kEmptyKnobParam);
    EXPECT_EQ(g_effectTable[0].keyframeCount, 3);
    EXPECT_EQ(g_effectTable[1].keyframeCount, 2);
    EXPECT_EQ(g_effectTable[1].keyframes[1].time, 20);
    EXPECT_EQ(g_effectTable[2].keyframeCount, 0);

    Choose("knobCombo1", "Softness");
    Click("closeButton");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(g_keyframeKnobMap[0], 5);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(EffectDialogTest, RefusedAnswersAndUnknownNamesChangeNothing) {
    Open();
    g_keyframeKnobMap[0] = 7;
    Unit(1).Faults().Set(FaultKind::WrongCode, 0x77);
    list->setCurrentRow(0);
    Click("loadButton");
    EXPECT_EQ(BoxTexts().back(),
              "Effect Fade Up was not loaded: reading keyframe 1 of 3 failed: the unit refused "
              "the request.\n\nNothing was changed; try Load again.");
    EXPECT_EQ(g_effectTable[0].keyframeCount, 0);
    EXPECT_EQ(g_keyframeKnobMap[0], 7);
    Name("Titles");
    Choose("knobCombo1", "Clip");
    Click("saveButton");
    EXPECT_NE(BoxTexts().back().find("Effect Titles was not saved"), std::string::npos);
    EXPECT_EQ(g_keyframeKnobMap[0], 7) << "no effect confirmed, no choice taken";
    Unit(1).Faults().ClearAll();

    // Wipe Left (and the Titles made unconfirmed) gone behind the dialog's back: the unit
    // refuses to describe it.
    Effects().resize(1);
    list->setCurrentRow(1);
    Click("loadButton");
    EXPECT_EQ(status->text(), " Status: Effect Wipe Left was not loaded.");
    EXPECT_NE(BoxTexts().back().find("reading its information failed"), std::string::npos);

    const int requests = units.RequestsAnswered();
    const size_t boxes = prompter.boxes.size();
    Name("");
    Click("saveButton");
    Name("A name far too long for a unit");
    Click("saveButton");
    Name("Titles");
    Combo("knobCombo2")->setEditText("Nonsense");
    Click("saveButton");
    Click("closeButton");
    EXPECT_NE(dialog->result(), QDialog::Accepted) << "a typed name that is no item stays";
    EXPECT_EQ(units.RequestsAnswered(), requests);
    ASSERT_EQ(prompter.boxes.size(), boxes + 4);
    EXPECT_EQ(prompter.boxes[boxes].text, "Type a name for the effect first.");
    EXPECT_EQ(prompter.boxes[boxes + 1].text,
              "The effect name is 30 characters long; the unit keeps at most 23.");
    EXPECT_EQ(prompter.boxes[boxes + 2].text,
              "Knob 2: \"Nonsense\" is not a parameter of this unit.\n\nChoose one from the list.");
    EXPECT_EQ(g_keyframeKnobMap[0], 7);
}

TEST_F(EffectDialogTest, UnitSilentMidLoadOrMidListLeavesTheTablesAlone) {
    Open();
    list->setCurrentRow(0);
    // Information, assignments and the first keyframe come; then the unit hangs.
    LineThatFallsSilent hanging(units, units.RequestsAnswered() + 3);
    UsePeer(&hanging);
    Click("loadButton");
    EXPECT_EQ(BoxTexts().back(),
              "Effect Fade Up was not loaded: reading keyframe 2 of 3 failed: the unit did not "
              "answer.\n\nNothing was changed; try Load again.");
    EXPECT_EQ(g_effectTable[0].keyframeCount, 0);
    UsePeer(&units);

    Unit(1).Faults().Set(FaultKind::SilentMidList, 0);
    Open();
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(BoxTexts().back(),
              "The unit did not send its effect list: the unit did not answer.\n\nCheck that "
              "the unit is switched on and connected, then open this dialog again.");
}

TEST_F(EffectDialogTest, OversizedListsAndAnswersAreCutToWhatTheTablesHold) {
    Unit(1).Faults().Set(FaultKind::EndlessList, 0);
    Open();
    EXPECT_EQ(list->count(), kEffectSlots);
    EXPECT_EQ(status->text(),
              " Status: The unit holds more effects than the list can show; the first 9 are "
              "listed.");
    Unit(1).Faults().ClearAll();

    // Answers padded to the longest a frame can carry still describe their effect.
    Unit(1).Faults().Set(FaultKind::Oversized, 0);
    list->setCurrentRow(0);
    Click("loadButton");
    EXPECT_EQ(g_effectTable[0].keyframeCount, 3);
    EXPECT_EQ(g_effectTable[0].assignmentCount, 2);
    EXPECT_EQ(g_keyframeKnobMap[2], kEmptyKnobParam);
    Name("Tenth");
    Click("saveButton");
    EXPECT_NE(BoxTexts().back().find("Delete one before saving a new effect."), std::string::npos);
    EXPECT_EQ(Effects().size(), 2u);
    Unit(1).Faults().ClearAll();

    // On a unit with more effects than the list shows, a delete keeps the count at 9.
    Effects().resize(11, StoredEffect{.name = "Spare"});
    Open();
    const size_t boxes = prompter.boxes.size();
    list->setCurrentRow(0);
    Click("deleteButton");
    EXPECT_EQ(Effects().size(), 10u);
    EXPECT_EQ(status->text(), " Status: Effect Fade Up has been deleted.");
    EXPECT_EQ(prompter.boxes.size(), boxes);
}

TEST_F(EffectDialogTest, OnScreenKeyboardRunsWhileTheDialogIsOpen) {
    QTemporaryDir programs;
    QFile keyboard(programs.filePath("onboard"));
    ASSERT_TRUE(keyboard.open(QIODevice::WriteOnly));
    keyboard.write("#!/bin/sh\nexec cat\n");
    keyboard.close();
    keyboard.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    Open(std::make_unique<OnScreenKeyboard>(QStringList{"vcp-test-no-such-keyboard", "onboard"},
                                            QStringList{programs.path()}));
    EXPECT_TRUE(dialog->Keyboard().Running());
    EXPECT_EQ(dialog->Keyboard().Program(), programs.filePath("onboard"));
    dialog->reject();
    EXPECT_FALSE(dialog->Keyboard().Running());

    Open();
    EXPECT_FALSE(dialog->Keyboard().Running());
    EXPECT_EQ(list->count(), 2) << "works without a keyboard";
}

}  // namespace
