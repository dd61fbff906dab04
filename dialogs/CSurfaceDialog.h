#pragma once

#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

#include "app/SurfaceSettings.h"
#include "platform/midi/MidiConnection.h"
#include "surface/Learner.h"

namespace Ui {
class CSurfaceDialog;
}

// The control surface's settings: on or off, the controller's ports by name (or why there
// are none), the mapping; and learning, where the user chooses a panel control and moves or
// presses the controller's. The panel hands the controller's messages to Learn while the
// dialog is open. A mapping that does not read is listed as broken, named with its file and
// line when chosen, and cannot be used; a setting that names no mapping says so. Ports that
// would loop the panel's rings back (a through port, one port both ways) are warned of.
class CSurfaceDialog : public QDialog {
    Q_OBJECT

  public:
    // `toggleLabels` are the panel's hard keys that learning offers. Learning starts from the
    // chosen mapping as its file has it.
    CSurfaceDialog(const SurfaceSettings& settings, const MidiPorts& ports,
                   const std::vector<std::string>& toggleLabels, QWidget* parent = nullptr);
    ~CSurfaceDialog() override;

    // Lists `ports`, keeping the names chosen (a chosen port that is absent stays listed).
    void ShowPorts(const MidiPorts& ports);
    // A message from the controller while the dialog is open.
    void Learn(const std::vector<uint8_t>& bytes);

    SurfaceSettings ChosenSettings() const;
    // The mapping with what was learned; nothing when nothing was.
    const std::optional<Mapping>& LearnedMapping() const { return m_learned; }

  private:
    void ListMappings(const std::string& chosen);
    void OnMappingChosen();
    // Says so when the chosen ports would send the panel's rings back to it.
    void WarnOfLoops();
    void StartLearning();
    PanelControl ChosenControl() const;

    std::unique_ptr<Ui::CSurfaceDialog> m_ui;
    SurfaceSettings m_settings;
    std::vector<MappingListing> m_mappings;
    std::optional<Mapping> m_base;  // the chosen mapping as read
    std::optional<Mapping> m_learned;
    std::optional<Learner> m_learner;
    std::vector<PanelControl> m_controls;
};
