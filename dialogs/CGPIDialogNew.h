#pragma once

#include <array>
#include <memory>

#include "dialogs/GpiDialogBase.h"

namespace Ui {
class CGPIDialogNew;
}

// GPI sequences on the full family, with each sequence's GPI input enable, high enable and
// input dwell time. The unit's settings address one sequence at a time through the GPI-select
// parameter; they are read for all ten on opening and written back when the dialog closes,
// and a box names the sequences the unit did not store.
class CGPIDialogNew : public CGpiDialogBase {
    Q_OBJECT

  public:
    static constexpr int kMaxDwell = 120;

    explicit CGPIDialogNew(QWidget* parent = nullptr);
    ~CGPIDialogNew() override;

    void done(int result) override;

  protected:
    void ReadSettings() override;
    int FirstSequence() const override { return m_selectAtOpening - 1; }
    void ShowSettings(int sequence) override;

  private:
    // The menu's words that address the settings; an absent one disables its control.
    struct Binding {
        int dwellParameter = 0;
        int selectParameter = 0;
        int inputEnableFunction = 0;
        int highEnableFunction = 0;
    };
    static Binding ReadBinding();
    void WriteSettings();
    // Selects `sequence` on the unit and writes its settings: the first failure, or 0.
    Status WriteSequenceSettings(int sequence);

    std::unique_ptr<Ui::CGPIDialogNew> m_ui;
    Binding m_binding;
    int m_selectAtOpening = 1;
    std::array<int, 10> m_inputEnable{};
    std::array<int, 10> m_highEnable{};
    std::array<int, 10> m_dwell{};
    bool m_written = false;
};
