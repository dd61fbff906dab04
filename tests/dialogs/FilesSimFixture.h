#pragma once

#include <gtest/gtest.h>

#include <QWidget>
#include <string>
#include <vector>

#include "link/StorageTables.h"
#include "sim/unit/UnitStorage.h"
#include "tests/dialogs/DialogTestSupport.h"

// The storage dialogs against simulated units on the virtual clock: compact units (model 4)
// as units 1 and 2 and a full-family unit (model 11) as unit 3, unit 1 selected with its menu
// image read, as the panel leaves things when it opens a dialog.
class StorageDialogTest : public SimDialogTest {
  protected:
    void SetUp() override {
        SimDialogTest::SetUp();
        ResetStorageTables();
        units.AddUnit(1, 4);
        units.AddUnit(3, 11);
        SelectSimUnit(1);
    }
    void TearDown() override {
        ResetStorageTables();
        SimDialogTest::TearDown();
    }

    std::vector<StoredFile>& Files(int unit, SimDirectory directory = SimDirectory::Main) {
        return Unit(unit).Storage().Directory(directory);
    }
    const StoredFile* FileNamed(int unit, const std::string& name,
                                SimDirectory directory = SimDirectory::Main) {
        for (const StoredFile& file : Files(unit, directory)) {
            if (file.name == name) {
                return &file;
            }
        }
        return nullptr;
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const ScriptedPrompter::Box& box : prompter.boxes) {
            texts.push_back(box.text);
        }
        return texts;
    }

    template <typename Widget>
    static Widget* Child(QWidget& dialog, const char* name) {
        Widget* widget = dialog.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
};
