#pragma once

#include <QString>

// A colour as the settings file keeps it: three components, normally 0 to 255.
// Values read from a hand-edited file may lie outside that range; they are clamped when applied.
struct ColourTriple {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const ColourTriple&, const ColourTriple&) = default;
};

// The four recolourable panes of the main window, each with its own triple in Settings.
enum class Pane {
    Left,     // background of Drive1, Dir1, File1, List1: leftColour
    Right,    // background of List2, Text1: rightColour
    InfoBars, // background of Label1, Label6, Label9: infoBarColour
    Texts,    // text colour of TellerLabel, InfoLabel, Label10: textColour
};

// The program-wide settings record, in file order.
struct Settings {
    ColourTriple leftColour{200, 230, 230};
    ColourTriple rightColour{230, 230, 200};
    ColourTriple infoBarColour{190, 190, 200};
    ColourTriple textColour{100, 70, 40};
    QString reservedText = QStringLiteral("Tunara 1");
    QString advertText = QStringLiteral("Hier kan uw reclame tekst staan...");
    QString logoPath;
    QString searchFolder = QStringLiteral("C:/mp3");

    friend bool operator==(const Settings&, const Settings&) = default;
};

namespace common {

// The triple that colours `pane`.
inline ColourTriple& paneColour(Settings& settings, Pane pane) {
    switch (pane) {
    case Pane::Left:
        return settings.leftColour;
    case Pane::Right:
        return settings.rightColour;
    case Pane::InfoBars:
        return settings.infoBarColour;
    case Pane::Texts:
        break;
    }
    return settings.textColour;
}
inline const ColourTriple& paneColour(const Settings& settings, Pane pane) {
    return paneColour(const_cast<Settings&>(settings), pane);
}

} // namespace common
