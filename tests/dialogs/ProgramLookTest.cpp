#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

#include "controls/ProgramLook.h"
#include "dialogs/CSetupDialog.h"
#include "tests/dialogs/DialogTestSupport.h"

namespace {

double Luminance(const QColor& colour) {
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Text on its ground at 4.5:1 in every state, disabled text at most two thirds of its enabled
// contrast so it looks disabled, and a selection that stands 3:1 off a list.
void ExpectReadable(const QPalette& p) {
    using P = QPalette;
    for (const auto& [text, ground] :
         {std::pair{P::WindowText, P::Window}, {P::Text, P::Base}, {P::ButtonText, P::Button}}) {
        const double enabled = Contrast(p.color(P::Active, text), p.color(P::Active, ground));
        const double disabled = Contrast(p.color(P::Disabled, text), p.color(P::Disabled, ground));
        EXPECT_GE(disabled, 4.5) << "disabled role " << text;
        EXPECT_LE(disabled, enabled * 2 / 3) << "disabled role " << text << " looks enabled";
    }
    EXPECT_GE(Contrast(p.color(P::HighlightedText), p.color(P::Highlight)), 4.5);
    EXPECT_GE(Contrast(p.color(P::Highlight), p.color(P::Base)), 3.0);
}

void ExpectProgramLook(const QWidget& widget) {
    SCOPED_TRACE(widget.metaObject()->className());
    for (const QPalette::ColorRole role :
         {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Highlight}) {
        EXPECT_EQ(widget.palette().color(role), ProgramPalette().color(role)) << "role " << role;
    }
    ExpectReadable(widget.palette());
}

TEST(ProgramLookTest, DialogsAndMessageBoxesWearThePanelsDarkLookAndStayReadable) {
    CSetupDialog dialog;
    dialog.show();
    ExpectProgramLook(dialog);

    QMessageBox box(QMessageBox::Warning, QStringLiteral("Virtual Control Panel"),
                    QStringLiteral("The port COM3 could not be opened: it is in use by another "
                                   "program.\n\nClose that program, then choose Retry."),
                    QMessageBox::Retry | QMessageBox::Cancel);
    box.button(QMessageBox::Cancel)->setEnabled(false);
    box.show();
    ExpectProgramLook(box);
    EXPECT_TRUE(SaveDialogPicture(&box, "message_box"));

    // Light text on the dark body; the About box's light paper takes dark ink, as readable.
    const QPalette program = ProgramPalette();
    EXPECT_LT(Luminance(program.color(QPalette::Window)),
              Luminance(program.color(QPalette::WindowText)));
    const QPalette paper = PaperPalette();
    EXPECT_GT(Luminance(paper.color(QPalette::Window)),
              Luminance(paper.color(QPalette::WindowText)));
    ExpectReadable(paper);
}

// How far the indicator of a label-less button stands off the window behind it.
double IndicatorContrast(QAbstractButton& button) {
    button.adjustSize();
    const QImage picture = button.grab().toImage();
    double best = 1.0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            best = std::max(
                best, Contrast(picture.pixelColor(x, y), button.palette().color(QPalette::Window)));
        }
    }
    return best;
}

TEST(ProgramLookTest, UncheckedBoxesAndRadioButtonsShowOnTheDarkWindowEnabledOrNot) {
    QCheckBox box;
    QRadioButton radio;
    for (QAbstractButton* button :
         {static_cast<QAbstractButton*>(&box), static_cast<QAbstractButton*>(&radio)}) {
        SCOPED_TRACE(button->metaObject()->className());
        EXPECT_GE(IndicatorContrast(*button), 3.0);
        button->setEnabled(false);
        EXPECT_GE(IndicatorContrast(*button), 2.0) << "disabled, dimmer, still to be seen";
    }
}

}  // namespace
