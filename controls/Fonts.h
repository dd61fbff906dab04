#pragma once

#include <QFont>
#include <optional>
#include <string>

// The panel asks for its fonts by the names its artwork was designed with ("Trebuchet MS",
// "MS Sans Serif"); on machines without them a free humanist sans stands in, so the panel
// looks the same everywhere.

// Everything a control keeps about a font so that one attribute can change and the font be
// made again. Heights follow the panel's convention: negative is the character height in
// pixels, positive the cell height, 0 the default size.
struct FontDescription {
    int height = 0;
    int width = 0;
    int escapement = 0;   // tenths of a degree, counter-clockwise
    int orientation = 0;  // tenths of a degree
    int weight = 400;     // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 0;
    std::string face;
};

constexpr int kWeightNormal = 400;
constexpr int kWeightBold = 700;

// Maps the panel's face names to the best installed stand-in. Safe to call more than once;
// MakeFont calls it.
void InstallFontSubstitutions();
// The family that stands in for the panel's faces on this machine.
QString SubstituteFamily();

QFont MakeFont(const FontDescription& description);
QFont MakePanelFont(const std::string& face, int height, int weight = kWeightNormal);

// A panel font kept by a control and made again only when what it is made from changes (the
// face follows the panel's, which a unit's artwork may change).
class PanelFontCache {
  public:
    const QFont& Font(const std::string& face, int height, int weight = kWeightNormal);

  private:
    std::string m_face;
    int m_height = 0;
    int m_weight = 0;
    std::optional<QFont> m_font;
};
