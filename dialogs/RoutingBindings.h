#pragma once

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;

// How the routing dialogs bind their controls to the function parameters named by their
// menu's entry words, and what they hand the panel to send.

using ValuesToSend = std::vector<std::pair<uint8_t, uint8_t>>;

constexpr int kUnboundFunction = 0;

// The function bound by entry word `word` of `menu`: 128..254, or kUnboundFunction when the word
// is 255 (control absent) or names no function.
int BoundFunction(int menu, int word);
// The bound function's current value, 0 without one.
int BoundValue(int function);
// A function's label on one line, for a check box caption.
QString FunctionCaption(int function);

// A label and a drop-down bound to one function whose label reads "Row,Option 1,Option 2...".
class OptionRow {
  public:
    OptionRow(QLabel* label, QComboBox* combo, int function);

    // Hides both when the function is absent or has no options.
    void Hide();
    // Appends (function, selected item + 1); a hidden row, or one without a selection,
    // changes nothing.
    void AppendResult(ValuesToSend& values) const;

  private:
    QLabel* m_label;
    QComboBox* m_combo;
    int m_function;
};

// "View Lock" and the "100"/"75" matte view choice of both routing dialogs: the matte
// choice can be changed only while the view is not locked. An absent matte function hides
// its choice; an absent view lock leaves its box and the choice closed until the box is
// toggled. Each result is handed on while its function is present, shown or hidden.
class MatteViewBinding {
  public:
    MatteViewBinding(QCheckBox* viewLock, QRadioButton* full, QRadioButton* reduced,
                     int viewLockFunction, int matteFunction);

    bool HasMatteView() const { return m_matteFunction != kUnboundFunction; }
    void HideAll();
    void AppendViewLock(ValuesToSend& values) const;
    void AppendMatteView(ValuesToSend& values) const;

  private:
    void EnableMatteChoice();

    QCheckBox* m_viewLock;
    QRadioButton* m_full;
    QRadioButton* m_reduced;
    QButtonGroup* m_group;
    int m_viewLockFunction;
    int m_matteFunction;
};
