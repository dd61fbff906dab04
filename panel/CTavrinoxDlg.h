#pragma once

#include <QDialog>
#include <QPixmap>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "console/PanelConsole.h"
#include "console/PanelDialogKinds.h"
#include "console/PanelLamps.h"
#include "console/PanelTimers.h"
#include "console/PanelView.h"
#include "controls/PanelHooks.h"
#include "controls/WindowFace.h"
#include "model/PanelModel.h"
#include "panel/PanelZoom.h"
#include "platform/WindowTimers.h"

struct EffectRecord;
struct PanelKey;

class CBitmapSlider;
class CCanvasCtrl;
class CImageTextButton;
class CImageToggleButton;
class CInfoBar;
class COnLineBar;
class CSettingsBar;
class CLabel;
class QLabel;
class QMenu;
class PanelBadge;
class PanelActions;

// Runs one dialog kind modally with its argument (a number; kind 3 passes the record's
// parameter or function number). The dialogs register themselves; a kind without a runner is
// reported to the user as not available in this build.
using PanelDialogRunner = std::function<PanelDialogResult(int argument)>;

// Entries a part of the program adds to the panel's context menu (its settings), each part
// in a section of its own.
using ContextEntries = std::function<void(QMenu& menu)>;

// The main panel: the skinned 1280 x 760 front panel of the selected unit. It owns every
// control and wires them; its work is split by concern over the Panel*.cpp files.
class CTavrinoxDlg : public QDialog,
                     public KnobHost,
                     public PanelView,
                     public KeyframeReadout,
                     public PollResults {
    Q_OBJECT

  public:
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 760;
    static constexpr int kMenuButtons = ::kMenuButtons;
    static constexpr int kToggles = 21;
    static constexpr int kBadges = 9;
    static constexpr int kUnitIcons = 4;
    static constexpr int kFunctionIcons = static_cast<int>(kIconFunctions.size());

    explicit CTavrinoxDlg(QWidget* parent = nullptr);
    ~CTavrinoxDlg() override;

    // When the unit search of start-up runs: at once (tests, tools), or once the window is
    // on the screen and its event loop runs (the program), so the window appears at once.
    enum class UnitSearch { Now, AfterShown };

    // Start-up in the order the panel needs: configuration, stored port, controls, the port,
    // the unit search. Returns true (default focus).
    bool OnInitDialog(UnitSearch search = UnitSearch::Now);
    // Work that runs once the unit search of start-up is done (the self-test); set before
    // OnInitDialog.
    void SetAfterUnitSearch(std::function<void()> work) { m_afterSearch = std::move(work); }

    // The port this run uses instead of the stored one (--port): COMn, a device path,
    // tcp://host:port or inproc:NAME; empty for the stored port. Applied by OnInitDialog; the
    // stored port number is kept for the next run.
    static void SetRunPort(const std::string& name);

    // Installs the runner of a dialog kind (the dialogs and tests call this).
    static void RegisterDialog(int kind, PanelDialogRunner runner);
    static void UnregisterDialog(int kind);

    // --- The window's side of the polls and the selection (PanelPolling.cpp) ---
    void StartTimer(int timer, int period_ms) override;
    void StopTimer(int timer) override;
    void ShowReferenceFlags(uint8_t flags) override;
    void ShowOnLine() override;
    void ShowUnitIndicator(int unit, bool on) override;
    bool PollingStopped() const { return m_console->PollingStopped(); }
    // KnobHost: a held knob holds the controller's polls.
    void StopPolling() override { m_console->StopPolling(); }
    void ResumePolling() override { m_console->ResumePolling(); }
    bool LinkLost() const { return m_console->LinkLost(); }

    // --- What the controller decided, shown; the dialogs (PanelDialogs.cpp) ---
    void ShowMenuFace(const MenuFace& face) override;
    void ShowInfoLine(const std::string& message, const std::string& alert) override;
    std::optional<PanelDialogResult> RunDialog(int kind, int argument) override;
    void RepaintNow() override { repaint(); }

    // --- Knob binding and the display double-click (PanelKnobs.cpp) ---
    void BindKnobs() override;
    void RedrawKnobDisplay(int display) override;
    void ShowKnobDisplay(int display, ParamRecord* record) override;
    // KnobHost: a knob's turns go to the named actions as the mouse's and the keyboard's.
    void KnobTick(int knob, int deflection) override;
    void KnobKeyTurn(int knob, int amount) override;

    // --- Hard keys and lamps as the controller sets them (PanelToggles.cpp) ---
    void ShowLamps() override;
    void ShowHardKey(int key, bool lit) override;
    bool HardKeyLit(int key) const override;
    void ShowSettings(const std::string& text) override;
    // Runs the COM port setup dialog modally, showing `portNumber`; the chosen port when the
    // user confirms, nothing when cancelled.
    std::optional<int> RunPortSetup(int portNumber) override;

    // --- Keyframe menu (PanelKeyframes.cpp) ---
    int CurrentKeyframe() const override { return PanelConsole::CurrentKeyframe(); }
    int KeyframeCount() const override { return PanelConsole::KeyframeCount(); }

    // --- File-system update, read-outs, model badge (PanelFileSystem.cpp, PanelReadouts.cpp)
    void ShowReadouts(int unit) override;
    void ShowModelBadge() override;
    void OnBadgeClick();

    // --- The context menu of the program's own settings (PanelContextMenu.cpp) ---
    void AddContextEntries(ContextEntries entries);
    // Opens the context menu at `globalPos`; `build` only fills it, for tests and pictures.
    void ShowContextMenu(const QPoint& globalPos);
    void BuildContextMenu(QMenu& menu);

    // --- Zoom (PanelZoom.cpp) ---
    // The zoom of the user's settings; a first start fits the screen without enlarging.
    void ApplyStoredZoom();
    // Shows the panel at `zoom` (held to 50..200 %), its frame kept on the screen.
    void SetZoom(double zoom);
    // A zoom key's or menu entry's work; the choice is kept in the user's settings.
    void RunZoomCommand(ZoomCommand command);
    void ChooseZoom(const ZoomSetting& setting);
    // The largest zoom at which the window, frame included, fits the screen's free area.
    double FitZoom() const;

    // --- Message boxes with the polls stopped (PanelMessages.cpp) ---
    void ShowMessageBox(const std::string& text) override;
    // 1 for OK, 2 for Cancel.
    int AskOkCancel(const std::string& text) override;

    // PollResults: the address byte of unit n's last answer, 0 when it did not answer.
    uint8_t AnsweringAddress(int unit) const override;

    // The selected unit's number (1..4), 0 for none.
    int SelectedUnit() const { return m_console->SelectedUnit(); }

    // Read access for tests and the dialogs.
    CInfoBar* InfoBar() const { return m_infoBar; }
    COnLineBar* OnLineBar() const { return m_onLineBar; }
    CSettingsBar* SettingsBar() const { return m_settingsBar; }
    CLabel* TitleLabel() const { return m_titleLabel; }
    CBitmapSlider* Knob(int i) const { return m_knob[i]; }
    CCanvasCtrl* KnobDisplay(int i) const { return m_knobDisplay[i]; }
    CImageTextButton* MenuButton(int i) const { return m_menuButton[i]; }
    CImageTextButton* FunctionButton(int i) const { return m_functionButton[i]; }
    CImageToggleButton* Toggle(int i) const { return m_toggle[i]; }
    QWidget* ModelBadge(int i) const;
    QWidget* UnitIcon(int i) const;
    QWidget* FunctionIcon(int i) const;
    // The panel controller: the menus' work and what they show.
    PanelConsole& Console() const { return *m_console; }
    // The named actions of the panel's controls, for every source, and the state they show.
    PanelActions& Actions() const { return *m_actions; }
    // The selected unit's menu on show; -1 while its menus are not loaded.
    int CurrentMenuShown() const { return m_console->CurrentMenuShown(); }
    WindowTimers& Timers() { return m_timers; }
    // The skin with the controls' faces, as the screen shows it.
    const WindowFace& Face() const { return m_face; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Control creation and placement (PanelControls.cpp).
    void CreateControls();
    void PlaceControls();
    void ConnectControls();
    void CreateToggles();
    // The window's ground: the skin, in `region`.
    void PaintSkin(QPainter& painter, const QRegion& region);

    // Shut-down: the port number goes back to the per-user settings.
    void StoreSettings();
    // Start-up: the configuration file, the port this run uses, the mouse and router keys.
    void ReadConfiguration();
    void ApplyMouseSetting();
    void ReadRouterSettings();
    void SetAccessibleNames();
    void SetTabOrder();
    // What the panel key `key` stands for, the way a click on its control does it.
    void RunPanelKey(const PanelKey& key);

    void OpenManual();
    void AddZoomEntries(QMenu& menu);
    QSize FrameExtent() const;
    QRect AvailableArea() const;

    WindowTimers m_timers{this};
    std::unique_ptr<PanelConsole> m_console;
    PanelActions* m_actions = nullptr;
    QPixmap m_skin;
    // The skin with the controls' faces on it, as the screen shows it.
    WindowFace m_face{
        this, [this](QPainter& painter, const QRegion& region) { PaintSkin(painter, region); }};
    QPixmap m_icon;

    std::array<CBitmapSlider*, kKnobCount> m_knob{};
    std::array<CCanvasCtrl*, kKnobCount> m_knobDisplay{};
    std::array<CImageTextButton*, kMenuButtons> m_menuButton{};
    std::array<CImageTextButton*, kFunctionButtonCount> m_functionButton{};
    std::array<CImageToggleButton*, kToggles> m_toggle{};
    CInfoBar* m_infoBar = nullptr;
    COnLineBar* m_onLineBar = nullptr;
    CSettingsBar* m_settingsBar = nullptr;
    CLabel* m_titleLabel = nullptr;
    std::array<PanelBadge*, kBadges> m_modelBadge{};
    std::array<QLabel*, kUnitIcons> m_unitIcon{};
    std::array<QLabel*, kFunctionIcons> m_functionIcon{};
    std::array<QLabel*, 8> m_lamp{};  // on-line lamps 1..4, then selected-unit lamps 1..4

    bool m_inTimerWork = false;   // a timer handler runs; a nested message loop must not re-enter
    bool m_initialised = false;   // OnInitDialog ran; only then is the port stored at the end
    bool m_storesPort = false;    // the run uses the stored port (no --port), so it stores it
    bool m_cursorHidden = false;  // the configuration hides the pointer while the panel runs

    std::vector<ContextEntries> m_contextEntries;
    std::function<void()> m_afterSearch;

    static std::map<int, PanelDialogRunner>& DialogRunners();

    // Knobs and toggles (PanelKnobs.cpp, PanelToggles.cpp).
    // Keyframes (PanelKeyframes.cpp).
};

// The panel on show; null before start-up and after it is destroyed.
extern CTavrinoxDlg* g_mainPanel;
