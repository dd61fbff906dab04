#include "dialogs/CSurfaceDialog.h"

#include <algorithm>

#include "dialogs/DialogPlacement.h"
#include "dialogs/DialogUnits.h"
#include "ui_CSurfaceDialog.h"

namespace {

// Fills `combo` with `names`, `chosen` first among them when it is absent, and selects it.
void FillPorts(QComboBox* combo, std::vector<std::string> names, const std::string& chosen) {
    if (!chosen.empty() && std::find(names.begin(), names.end(), chosen) == names.end()) {
        names.insert(names.begin(), chosen);
    }
    combo->clear();
    combo->addItem(QObject::tr("(none)"), QString());
    for (const std::string& name : names) {
        combo->addItem(QString::fromStdString(name), QString::fromStdString(name));
    }
    combo->setCurrentIndex(std::max(0, combo->findData(QString::fromStdString(chosen))));
}

// Whether `name` is a port that passes on what it receives ("Midi Through"): chosen on both
// sides, everything the panel sends comes back.
bool IsThroughPort(const std::string& name) {
    return QString::fromStdString(name).contains(QLatin1String("through"), Qt::CaseInsensitive);
}

std::string Chosen(const QComboBox* combo) {
    return combo->currentData().toString().toStdString();
}

}  // namespace

CSurfaceDialog::CSurfaceDialog(const SurfaceSettings& settings, const MidiPorts& ports,
                               const std::vector<std::string>& toggleLabels, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CSurfaceDialog>()), m_settings(settings) {
    m_ui->setupUi(this);
    LayOutInDialogUnits(this);
    PlaceOnScreen(this);
    m_ui->enabledCheck->setChecked(settings.enabled);
    ShowPorts(ports);
    ListMappings(settings.mapping);

    for (int knob = 0; knob < kActionKnobs; ++knob) {
        m_controls.push_back({PanelControl::Kind::Knob, knob, {}});
    }
    for (int button = 0; button < kActionMenuButtons; ++button) {
        m_controls.push_back({PanelControl::Kind::MenuButton, button, {}});
    }
    for (int button = 0; button < kActionFunctionButtons; ++button) {
        m_controls.push_back({PanelControl::Kind::FunctionButton, button, {}});
    }
    for (const std::string& label : toggleLabels) {
        if (!label.empty()) {
            m_controls.push_back({PanelControl::Kind::Toggle, 0, label});
        }
    }
    for (const PanelControl& control : m_controls) {
        m_ui->controlCombo->addItem(QString::fromStdString(PanelControlName(control)));
    }

    connect(m_ui->inputCombo, &QComboBox::activated, this, [this] {
        // A controller's two ports usually share their name.
        const int output = m_ui->outputCombo->findData(m_ui->inputCombo->currentData());
        if (output >= 0) {
            m_ui->outputCombo->setCurrentIndex(output);
        }
        WarnOfLoops();
    });
    connect(m_ui->outputCombo, &QComboBox::activated, this, &CSurfaceDialog::WarnOfLoops);
    connect(m_ui->mappingCombo, &QComboBox::activated, this, &CSurfaceDialog::OnMappingChosen);
    connect(m_ui->learnButton, &QPushButton::clicked, this, &CSurfaceDialog::StartLearning);
    connect(m_ui->okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CSurfaceDialog::~CSurfaceDialog() = default;

void CSurfaceDialog::ShowPorts(const MidiPorts& ports) {
    const std::string input =
        m_ui->inputCombo->count() > 0 ? Chosen(m_ui->inputCombo) : m_settings.input;
    const std::string output =
        m_ui->outputCombo->count() > 0 ? Chosen(m_ui->outputCombo) : m_settings.output;
    FillPorts(m_ui->inputCombo, ports.inputs, input);
    FillPorts(m_ui->outputCombo, ports.outputs, output);
    m_ui->whyNoneLabel->setText(QString::fromStdString(ports.whyNone));
    WarnOfLoops();
}

void CSurfaceDialog::WarnOfLoops() {
    const std::string input = Chosen(m_ui->inputCombo);
    const std::string output = Chosen(m_ui->outputCombo);
    std::string warning;
    if (IsThroughPort(input) || IsThroughPort(output)) {
        warning = "A through port sends back what the panel sends: choose the controller's own.";
    } else if (!input.empty() && input == output) {
        warning =
            "One port both ways: should it send back what it hears, the panel ignores the echo.";
    }
    m_ui->loopWarningLabel->setText(QString::fromStdString(warning));
}

void CSurfaceDialog::ListMappings(const std::string& chosen) {
    m_mappings = ::ListMappings();
    m_ui->mappingCombo->clear();
    const QColor brokenColour = palette().color(QPalette::Disabled, QPalette::Text);
    for (const MappingListing& listing : m_mappings) {
        // A file that does not read is listed by its file name and greyed: it can be chosen
        // to see why, never used.
        const std::string shown = listing.error.empty()
                                      ? listing.name + (listing.user ? " (yours)" : "")
                                      : listing.stem + kMappingFileSuffix + " (broken)";
        m_ui->mappingCombo->addItem(QString::fromStdString(shown),
                                    QString::fromStdString(listing.stem));
        if (!listing.error.empty()) {
            m_ui->mappingCombo->setItemData(m_ui->mappingCombo->count() - 1, brokenColour,
                                            Qt::ForegroundRole);
        }
    }
    // A setting that names no mapping stays chosen, as what it is, until another is.
    const std::optional<MappingListing> named = FindMapping(m_mappings, chosen);
    if (!named) {
        m_ui->mappingCombo->insertItem(0, QString::fromStdString(chosen + " (not found)"),
                                       QString::fromStdString(chosen));
    }
    m_ui->mappingCombo->setCurrentIndex(std::max(
        0, m_ui->mappingCombo->findData(QString::fromStdString(named ? named->stem : chosen))));
    OnMappingChosen();
}

void CSurfaceDialog::OnMappingChosen() {
    const std::string stem = Chosen(m_ui->mappingCombo);
    m_learned.reset();
    m_learner.reset();
    m_base.reset();
    const MappingRead read = LoadMapping(stem);
    if (read.mapping) {
        m_base = read.mapping;
        m_settings.mapping = stem;
    }
    m_ui->mappingErrorLabel->setText(QString::fromStdString(read.error));
    m_ui->okButton->setEnabled(read.mapping.has_value());
    m_ui->learnButton->setEnabled(read.mapping.has_value());
}

PanelControl CSurfaceDialog::ChosenControl() const {
    const int index = m_ui->controlCombo->currentIndex();
    return index >= 0 && index < static_cast<int>(m_controls.size()) ? m_controls[index]
                                                                     : PanelControl{};
}

void CSurfaceDialog::StartLearning() {
    m_learner.emplace(ChosenControl());
    m_ui->promptLabel->setText(QString::fromStdString(m_learner->Prompt()));
}

void CSurfaceDialog::Learn(const std::vector<uint8_t>& bytes) {
    if (!m_learner || !m_base) {
        return;
    }
    if (m_learner->Feed(bytes)) {
        if (!m_learned) {
            m_learned = m_base;
        }
        m_learner->ApplyTo(*m_learned);
        m_ui->promptLabel->setText(QString::fromStdString(m_learner->Prompt()));
        m_learner.reset();
        return;
    }
    m_ui->promptLabel->setText(QString::fromStdString(m_learner->Prompt()));
}

SurfaceSettings CSurfaceDialog::ChosenSettings() const {
    SurfaceSettings chosen = m_settings;
    chosen.enabled = m_ui->enabledCheck->isChecked();
    chosen.input = Chosen(m_ui->inputCombo);
    chosen.output = Chosen(m_ui->outputCombo);
    return chosen;
}
