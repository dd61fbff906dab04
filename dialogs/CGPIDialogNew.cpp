#include "dialogs/CGPIDialogNew.h"

#include <QCheckBox>
#include <QLabel>
#include <algorithm>
#include <string>
#include <vector>

#include "dialogs/CGPIDialog.h"
#include "dialogs/DialogUnits.h"
#include "dialogs/LinkOutcome.h"
#include "link/ParameterCommands.h"
#include "model/PanelModel.h"
#include "platform/Prompter.h"
#include "protocol/ParameterArguments.h"
#include "ui_CGPIDialogNew.h"

namespace {

constexpr int kDwellWord = 1;         // knob position of the dwell-time parameter
constexpr int kSelectWord = 2;        // knob position of the GPI-select parameter
constexpr int kInputEnableWord = 10;  // entry word of the input-enable function
constexpr int kHighEnableWord = 11;   // entry word of the high-enable function

// A knob parameter the unit defines (named in its image), or 0.
int KnobParameter(int number) {
    return number > 0 && number <= kLastKnobParameter && !g_paramTable[number].name.empty() ? number
                                                                                            : 0;
}

// A function 129..254 the unit defines, or 0.
int FunctionParameter(int number) {
    return number > kFirstFunctionNumber && number < 255 &&
                   g_functionTable[number - kFirstFunctionNumber].number == number
               ? number
               : 0;
}

// SetParameterByte as the dialog sends it: the answer's updates land in the tables.
Status SendFunctionByte(int number, int value) {
    AnswerBuffer answer{};
    return SendParameterByte(static_cast<uint8_t>(number), static_cast<uint8_t>(value),
                             kPatience20s, answer);
}

// "1", "1 and 4", "1, 4 and 10": the sequences in the words of the tabs.
std::string SequenceNames(const std::vector<int>& sequences) {
    std::string names;
    for (size_t i = 0; i < sequences.size(); ++i) {
        if (i > 0) {
            names += i + 1 == sequences.size() ? " and " : ", ";
        }
        names += std::to_string(sequences[i] + 1);
    }
    return names;
}

}  // namespace

CGPIDialogNew::CGPIDialogNew(QWidget* parent)
    : CGpiDialogBase(parent),
      m_ui(std::make_unique<Ui::CGPIDialogNew>()),
      m_binding(ReadBinding()) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    m_ui->inputEnableCheck->setEnabled(m_binding.selectParameter != 0 &&
                                       m_binding.inputEnableFunction != 0);
    m_ui->highEnableCheck->setEnabled(m_binding.selectParameter != 0 &&
                                      m_binding.highEnableFunction != 0);
    m_ui->dwellUpDown->setEnabled(m_binding.selectParameter != 0 && m_binding.dwellParameter != 0);
    m_ui->dwellUpDown->SetRange(0, kMaxDwell);
    Open(GpiControlsOf(*m_ui));

    connect(m_ui->inputEnableCheck, &QCheckBox::clicked, this, [this](bool checked) {
        if (CurrentSequence() >= 0) {
            m_inputEnable[static_cast<size_t>(CurrentSequence())] = checked ? 1 : 0;
        }
    });
    connect(m_ui->highEnableCheck, &QCheckBox::clicked, this, [this](bool checked) {
        if (CurrentSequence() >= 0) {
            m_highEnable[static_cast<size_t>(CurrentSequence())] = checked ? 1 : 0;
        }
    });
    connect(m_ui->dwellUpDown, &UpDownControl::valueChanged, this, [this](int value) {
        if (CurrentSequence() >= 0) {
            m_dwell[static_cast<size_t>(CurrentSequence())] = value;
        }
        m_ui->dwellValueLabel->setNum(value);
    });
}

CGPIDialogNew::~CGPIDialogNew() = default;

CGPIDialogNew::Binding CGPIDialogNew::ReadBinding() {
    const MenuRecord& menu = g_menuTable[kMenu];
    return {.dwellParameter = KnobParameter(menu.knobParam[kDwellWord]),
            .selectParameter = KnobParameter(menu.knobParam[kSelectWord]),
            .inputEnableFunction = FunctionParameter(menu.entry[kInputEnableWord]),
            .highEnableFunction = FunctionParameter(menu.entry[kHighEnableWord])};
}

// Each sequence's settings, addressed through the GPI-select parameter in turn.
void CGPIDialogNew::ReadSettings() {
    if (m_binding.selectParameter == 0) {
        return;
    }
    m_selectAtOpening = g_paramTable[m_binding.selectParameter].value;
    for (int i = 0; i < SequenceCount(); ++i) {
        const auto slot = static_cast<size_t>(i);
        static_cast<void>(SetParameterWord(static_cast<uint8_t>(m_binding.selectParameter),
                                           static_cast<uint16_t>(i + 1)));
        if (m_binding.inputEnableFunction != 0) {
            static_cast<void>(SendFunctionByte(m_binding.inputEnableFunction, kFunctionValueQuery));
            m_inputEnable[slot] = FunctionValue(m_binding.inputEnableFunction);
        }
        if (m_binding.highEnableFunction != 0) {
            static_cast<void>(SendFunctionByte(m_binding.highEnableFunction, kFunctionValueQuery));
            m_highEnable[slot] = FunctionValue(m_binding.highEnableFunction);
        }
        if (m_binding.dwellParameter != 0) {
            static_cast<void>(AdjustParameter(static_cast<uint8_t>(m_binding.dwellParameter), 0));
            m_dwell[slot] =
                std::clamp<int>(g_paramTable[m_binding.dwellParameter].value, 0, kMaxDwell);
        }
    }
}

void CGPIDialogNew::ShowSettings(int sequence) {
    const auto slot = static_cast<size_t>(sequence);
    m_ui->inputEnableCheck->setChecked(m_inputEnable[slot] != 0);
    m_ui->highEnableCheck->setChecked(m_highEnable[slot] != 0);
    m_ui->dwellUpDown->SetValue(m_dwell[slot]);
    m_ui->dwellValueLabel->setNum(m_dwell[slot]);
}

// The settings go back to the unit however the dialog closes.
void CGPIDialogNew::done(int result) {
    if (!m_written) {
        m_written = true;
        WriteSettings();
    }
    CGpiDialogBase::done(result);
}

// A sequence the unit did not take all of is named in one box at the end; when its select
// failed, its settings are not sent at all, as they would land on another sequence.
void CGPIDialogNew::WriteSettings() {
    if (m_binding.selectParameter == 0 || SequenceCount() == 0) {
        return;
    }
    const auto select = static_cast<uint8_t>(m_binding.selectParameter);
    std::vector<int> notStored;
    Status firstFailure = Status::Ok;
    for (int i = 0; i < SequenceCount(); ++i) {
        const Status status = WriteSequenceSettings(i);
        if (status != Status::Ok) {
            notStored.push_back(i);
            firstFailure = firstFailure == Status::Ok ? status : firstFailure;
        }
    }
    static_cast<void>(
        SetParameterWord(select, static_cast<uint16_t>(std::max(CurrentSequence(), 0) + 1)));
    if (!notStored.empty()) {
        ShowStopBox("The Main Unit did not store the settings of GPI " + SequenceNames(notStored) +
                        ". Open the dialog again to see what it holds.",
                    windowTitle().toLatin1().toStdString(),
                    FailureReason(firstFailure).toStdString());
    }
}

Status CGPIDialogNew::WriteSequenceSettings(int sequence) {
    const auto slot = static_cast<size_t>(sequence);
    const Status selected = SetParameterWord(static_cast<uint8_t>(m_binding.selectParameter),
                                             static_cast<uint16_t>(sequence + 1));
    if (selected != Status::Ok) {
        return selected;
    }
    Status result = Status::Ok;
    const auto keepFirst = [&result](Status status) {
        result = result == Status::Ok ? status : result;
    };
    if (m_binding.inputEnableFunction != 0) {
        keepFirst(SendFunctionByte(m_binding.inputEnableFunction, m_inputEnable[slot]));
    }
    if (m_binding.highEnableFunction != 0) {
        keepFirst(SendFunctionByte(m_binding.highEnableFunction, m_highEnable[slot]));
    }
    if (m_binding.dwellParameter != 0) {
        keepFirst(SetParameterWord(static_cast<uint8_t>(m_binding.dwellParameter),
                                   static_cast<uint16_t>(m_dwell[slot])));
    }
    return result;
}
