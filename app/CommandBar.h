#pragma once

#include "common/MainContext.h"

#include <QObject>
#include <QString>

class QWidget;

// The maker's software page, opened by command bar button 2.
inline constexpr const char* kSoftwarePageAddress = "https://www.example.org/tunara/software";

namespace app {

// Hands `address` to the desktop's default browser. `owner` is the window the request comes
// from; the desktop opens the page in a window of its own. A failure (no browser, a malformed
// address) is not reported: nothing happens.
void OpenWebPage(QWidget* owner, const QString& address);

} // namespace app

// The command bar's own buttons: 2 (web page), 3 (help screen) and 9 (quit).
class CommandBar : public QObject {
    Q_OBJECT
public:
    CommandBar(const MainContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    // Button 2.
    void openWebPage();
    // Button 3: shows the help screen Text1 over the playlist, or hides it again.
    void toggleHelp();
    // Button 9: asks "Wilt u het programma beeindigen?"; on Yes stops the player, writes the
    // settings file and ends the program. The program ends by closing every top-level window
    // (the last one closed ends QApplication::exec) and asking the application to quit, which
    // does nothing while no exec() runs, so a test process survives it.
    void quit();

private:
    MainContext m_ctx;
};
