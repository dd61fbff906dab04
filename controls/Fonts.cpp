#include "controls/Fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

const char* const kPanelFaces[] = {"Trebuchet MS", "MS Sans Serif"};
const char* const kStandIns[] = {"Open Sans", "DejaVu Sans"};

// A cell height holds the character height plus the font's internal leading, about a fifth.
constexpr double kCharacterShareOfCell = 0.8;
constexpr int kDefaultPixelSize = 13;

}  // namespace

QString SubstituteFamily() {
    const QStringList families = QFontDatabase::families();
    for (const char* standIn : kStandIns) {
        if (families.contains(QString::fromLatin1(standIn), Qt::CaseInsensitive)) {
            return QString::fromLatin1(standIn);
        }
    }
    return QString::fromLatin1(kStandIns[0]);
}

void InstallFontSubstitutions() {
    static bool substituted = false;
    if (substituted) {
        return;
    }
    substituted = true;
    const QString standIn = SubstituteFamily();
    const QStringList installed = QFontDatabase::families();
    for (const char* face : kPanelFaces) {
        if (!installed.contains(QString::fromLatin1(face))) {
            QFont::insertSubstitution(QString::fromLatin1(face), standIn);
        }
    }
}

QFont MakeFont(const FontDescription& description) {
    InstallFontSubstitutions();
    QFont font(QString::fromLatin1(description.face.c_str()));
    int pixelSize = kDefaultPixelSize;
    if (description.height < 0) {
        pixelSize = -description.height;
    } else if (description.height > 0) {
        pixelSize =
            std::max(1, static_cast<int>(std::lround(description.height * kCharacterShareOfCell)));
    }
    font.setPixelSize(pixelSize);
    const int weight = description.weight > 0 ? description.weight : kWeightNormal;
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(description.italic);
    font.setUnderline(description.underline);
    font.setStrikeOut(description.strikeOut);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont MakePanelFont(const std::string& face, int height, int weight) {
    FontDescription description;
    description.face = face;
    description.height = height;
    description.weight = weight;
    return MakeFont(description);
}

const QFont& PanelFontCache::Font(const std::string& face, int height, int weight) {
    if (!m_font || face != m_face || height != m_height || weight != m_weight) {
        m_font = MakePanelFont(face, height, weight);
        m_face = face;
        m_height = height;
        m_weight = weight;
    }
    return *m_font;
}
