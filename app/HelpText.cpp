#include "app/HelpText.h"

namespace app {

QString helpText() {
    static const char* const lines[] = {
        "  Uitleg programma...",
        "  ------------------------",
        "  1. Zoek met het linker navigatie menu de mappen met songs",
        "  2. Selecteer de songs d.m.v. dubbelklik of met de pijlknoppen",
        "  3. Druk op de startknop om de muziek te starten",
        "  4. U kunt uw favoriete playlist opslaan om snel uw muziek te starten",
        "",
        "  Kleuren wijzigen",
        "  ---------------------",
        "  Door met de rechtermuisknop op het navigatie menu, playlist, info",
        "  balk of infotekst te klikken kunt u de achtergrond kleuren en de",
        "  tekstkleur wijzigen. Vervolgens kunt met de 3 scrollbalkjes van",
        "  het kleurenmenu de Rood, Groen en Blauw waarde instellen.",
        "",
        "  Logo en reclame tekst wijzigen",
        "  --------------------------------------",
        "  De tekst linksboven en het logo (200 x 200 pixels) kunnen worden",
        "  gewijzigd door met de muiscursor dubbel hierop te klikken.",
        "",
        "  Gemaakt door: Studio Klankbord",
        "  E-mail: info@example.org",
        "  Website: https://www.example.org/tunara",
        "",
        "  Druk nogmaals op de helpknop om dit helpscherm te verlaten.",
    };
    QString helpText;
    for (const char* line : lines) {
        helpText += QString::fromUtf8(line) + QStringLiteral("\r\n");
    }
    return helpText;
}

} // namespace app
