// What assistive technology reads from the panel's owner-drawn controls: a knob and its
// display by the parameter they are bound to and its value, a button by its caption, a key
// by its printed label and whether it is lit. Read live, so every re-binding is heard. Each
// control's tooltip and accessible description name the keys that work it.
#include <QAccessible>
#include <QAccessibleWidget>

#include "console/HardKeys.h"
#include "controls/CBitmapSlider.h"
#include "controls/CCanvasCtrl.h"
#include "controls/CImageTextButton.h"
#include "controls/CImageToggleButton.h"
#include "controls/CInfoBar.h"
#include "controls/CLabel.h"
#include "controls/COnLineBar.h"
#include "controls/CSettingsBar.h"
#include "controls/ControlKeys.h"
#include "model/KnobGauge.h"
#include "panel/CTavrinoxDlg.h"
#include "panel/PanelKeys.h"

namespace {

const ParamRecord* BoundParam(const CCanvasCtrl* display) {
    return display != nullptr && display->IsActive() ? display->Param() : nullptr;
}

QString ValueText(const ParamRecord* param) {
    if (param == nullptr) {
        return {};
    }
    if (param->flags & kFlagTimecode) {
        return QString::fromStdString(TimecodeText(param->value));
    }
    return QString::fromStdString(ComputeGauge(*param, 0, CCanvas::kWidth).valueText);
}

QString ParamName(const ParamRecord* param) {
    return param != nullptr ? QString::fromLatin1(param->name.c_str()) : QStringLiteral("Unused");
}

// The number (1..8) of the knob or display `widget` in the panel's controls.
int KnobNumber(const QWidget* widget) {
    if (g_mainPanel == nullptr) {
        return 0;
    }
    for (int i = 0; i < kKnobCount; ++i) {
        if (g_mainPanel->Knob(i) == widget || g_mainPanel->KnobDisplay(i) == widget) {
            return i + 1;
        }
    }
    return 0;
}

class KnobDisplayAccessible : public QAccessibleWidget {
  public:
    explicit KnobDisplayAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}
    QString text(QAccessible::Text t) const override {
        const ParamRecord* param = BoundParam(static_cast<CCanvasCtrl*>(widget()));
        if (t == QAccessible::Name) {
            return ParamName(param);
        }
        return t == QAccessible::Value ? ValueText(param) : QAccessibleWidget::text(t);
    }
};

class KnobAccessible : public QAccessibleWidget {
  public:
    explicit KnobAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Dial) {}
    QString text(QAccessible::Text t) const override {
        const int number = KnobNumber(widget());
        const CCanvasCtrl* display = number > 0 ? g_mainPanel->KnobDisplay(number - 1) : nullptr;
        const ParamRecord* param = BoundParam(display);
        if (t == QAccessible::Name) {
            return QStringLiteral("Knob %1: %2").arg(number).arg(ParamName(param));
        }
        return t == QAccessible::Value ? ValueText(param) : QAccessibleWidget::text(t);
    }
};

class CaptionButtonAccessible : public QAccessibleWidget {
  public:
    explicit CaptionButtonAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Button) {}
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name) {
            return QAccessibleWidget::text(t);
        }
        QString caption =
            QString::fromLatin1(static_cast<CImageTextButton*>(widget())->Caption().c_str());
        caption = caption.replace(QLatin1String("\r\n"), QLatin1String(" ")).simplified();
        return caption.isEmpty() ? QStringLiteral("Unused") : caption;
    }
};

class ToggleAccessible : public QAccessibleWidget {
  public:
    explicit ToggleAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}
    QString text(QAccessible::Text t) const override {
        const auto* toggle = static_cast<CImageToggleButton*>(widget());
        if (t == QAccessible::Name) {
            return toggle->property("label").toString();
        }
        if (t == QAccessible::Value) {
            return toggle->IsOn() ? QStringLiteral("lit") : QStringLiteral("dark");
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = static_cast<CImageToggleButton*>(widget())->IsOn();
        return state;
    }
};

class InfoBarAccessible : public QAccessibleWidget {
  public:
    explicit InfoBarAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StatusBar) {}
    QString text(QAccessible::Text t) const override {
        const auto* bar = static_cast<CInfoBar*>(widget());
        if (t == QAccessible::Name) {
            return QStringLiteral("Information");
        }
        if (t == QAccessible::Value) {
            return QString::fromLatin1(
                (bar->Alert().empty() ? bar->Message() : bar->Alert()).c_str());
        }
        return QAccessibleWidget::text(t);
    }
};

// The keys that work a control: its panel key, and Enter once the control is focused.
QString KeysText(const QString& panelKey) {
    const QString enter = EnterKeyName() + QStringLiteral(" when focused");
    return QStringLiteral("Key: ") + (panelKey.isEmpty() ? enter : panelKey + ", or " + enter);
}

void DescribeKeys(QWidget* widget, const QString& name, const QString& keys) {
    widget->setAccessibleDescription(keys);
    widget->setToolTip(name.isEmpty() ? keys : name + QStringLiteral("\n") + keys);
}

QAccessibleInterface* PanelAccessibleFactory(const QString& className, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("CCanvasCtrl")) {
        return new KnobDisplayAccessible(widget);
    }
    if (className == QLatin1String("CBitmapSlider")) {
        return new KnobAccessible(widget);
    }
    if (className == QLatin1String("CImageTextButton")) {
        return new CaptionButtonAccessible(widget);
    }
    if (className == QLatin1String("CImageToggleButton")) {
        return new ToggleAccessible(widget);
    }
    if (className == QLatin1String("CInfoBar")) {
        return new InfoBarAccessible(widget);
    }
    return nullptr;
}

}  // namespace

void CTavrinoxDlg::SetAccessibleNames() {
    static const bool installed = [] {
        QAccessible::installFactory(PanelAccessibleFactory);
        return true;
    }();
    (void)installed;
    m_titleLabel->setAccessibleName(QStringLiteral("Menu title"));
    m_settingsBar->setAccessibleName(QStringLiteral("Settings"));
    m_onLineBar->setAccessibleName(QStringLiteral("Units on line"));

    for (int i = 0; i < kToggles; ++i) {
        const HardKey& key = HardKeys()[i];
        DescribeKeys(m_toggle[i], QString::fromLatin1(key.label),
                     KeysText(ToggleKeyName(key.kind, key.number)));
    }
    for (int i = 0; i < kMenuButtons; ++i) {
        DescribeKeys(m_menuButton[i], {}, KeysText(PanelKeyName(PanelKeyTarget::MenuButton, i)));
    }
    for (int i = 0; i < kFunctionButtonCount; ++i) {
        DescribeKeys(m_functionButton[i], {},
                     KeysText(PanelKeyName(PanelKeyTarget::FunctionButton, i)));
    }
    for (int i = 0; i < kKnobCount; ++i) {
        DescribeKeys(m_knob[i], QStringLiteral("Knob %1").arg(i + 1), KnobKeysHelp());
        DescribeKeys(m_knobDisplay[i], {},
                     KnobKeysHelp() + QStringLiteral("; ") + EnterKeyName() +
                         QStringLiteral(": as a double-click"));
    }
}
