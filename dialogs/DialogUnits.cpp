#include "dialogs/DialogUnits.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLayout>
#include <QStackedWidget>
#include <QWidget>

#include "controls/Fonts.h"

namespace {

// 8 pt at the 96 dots per inch the templates were drawn for: 11 pixels of character height.
constexpr int kDialogFontHeight_px = -11;
constexpr int kQuartersPerChar = 4;
constexpr int kEighthsPerChar = 8;

// Rounded like the system's MulDiv, so a control lands where the template put it.
int ScaleRounded(int units, int base_px, int divisor) {
    const long long product = static_cast<long long>(units) * base_px;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor
                                         : -((-product + half) / divisor));
}

// A control the .ui file placed: named by the form, not one of Qt's own inner widgets, and
// not positioned by a layout or a page stack.
bool PlacedByTemplate(const QWidget* widget) {
    const QString name = widget->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) {
        return false;
    }
    const QWidget* parent = widget->parentWidget();
    if (parent == nullptr || qobject_cast<const QStackedWidget*>(parent) != nullptr) {
        return false;
    }
    return parent->layout() == nullptr || parent->layout()->indexOf(widget) < 0;
}

void ScaleChildren(QWidget* parent, const DialogUnits& units) {
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (PlacedByTemplate(child)) {
            QRect geometry = units.Rect(child->geometry());
            // A drop-down's template height is that of its open list; closed it is one line.
            if (qobject_cast<QComboBox*>(child) != nullptr) {
                geometry.setHeight(child->sizeHint().height());
            }
            child->setGeometry(geometry);
        }
        ScaleChildren(child, units);
    }
}

}  // namespace

QFont DialogFont() {
    return MakePanelFont("MS Sans Serif", kDialogFontHeight_px);
}

DialogUnits::DialogUnits(const QFontMetrics& metrics)
    : m_baseWidth_px((metrics.horizontalAdvance(
                          QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                          26 +
                      1) /
                     2),
      m_baseHeight_px(metrics.height()) {}

DialogUnits::DialogUnits(int baseWidth_px, int baseHeight_px)
    : m_baseWidth_px(baseWidth_px), m_baseHeight_px(baseHeight_px) {}

const DialogUnits& DialogUnits::Standard() {
    static const DialogUnits standard{QFontMetrics(DialogFont())};
    return standard;
}

int DialogUnits::X(int units) const {
    return ScaleRounded(units, m_baseWidth_px, kQuartersPerChar);
}

int DialogUnits::Y(int units) const {
    return ScaleRounded(units, m_baseHeight_px, kEighthsPerChar);
}

QRect DialogUnits::Rect(const QRect& units) const {
    return QRect(X(units.x()), Y(units.y()), X(units.width()), Y(units.height()));
}

QSize DialogUnits::Size(const QSize& units) const {
    return QSize(X(units.width()), Y(units.height()));
}

void LayOutInDialogUnits(QWidget* dialog, const DialogUnits& units) {
    dialog->setFont(DialogFont());
    ScaleChildren(dialog, units);
    dialog->setFixedSize(units.Size(dialog->size()));
}
