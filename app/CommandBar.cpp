#include "app/CommandBar.h"

#include "common/SettingsFile.h"
#include "playback/MediaPlayer.h"

#include "widgets/MessageKit.h"
#include <QApplication>
#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QPointer>
#include <QUrl>
#include <QWidget>

void app::OpenWebPage(QWidget* owner, const QString& address) {
    // The desktop decides where the browser window goes; the owner is only the requester.
    Q_UNUSED(owner);
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty()) {
        return;
    }
    QDesktopServices::openUrl(url);
}

CommandBar::CommandBar(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

void CommandBar::openWebPage() {
    app::OpenWebPage(m_ctx.c.Main, QString::fromLatin1(kSoftwarePageAddress));
}

void CommandBar::toggleHelp() {
    QPlainTextEdit* help = m_ctx.c.Text1;
    if (!help) {
        return;
    }
    // isHidden, not isVisible: the answer must not depend on whether the window is on screen.
    help->setVisible(help->isHidden());
}

void CommandBar::quit() {
    QWidget* main = m_ctx.c.Main;
    if (!widgets::askYesNo(main, QStringLiteral(" Exit"),
                           QStringLiteral("Wilt u het programma beeindigen?"))) {
        return;
    }

    m_ctx.player.stop();
    const QString path = common::settingsFilePath(m_ctx.state.programFolder);
    QString reason;
    if (!common::SaveSettings(path, m_ctx.state.settings, &reason)) {
        // The program still ends, but the user learns that this run's changes are not kept, and why.
        widgets::inform(
            main,
            QStringLiteral("De instellingen konden niet worden opgeslagen in\n%1\n(%2).").arg(path, reason));
    }

    // The main window first, then whatever else is open (the print menu, a window of another
    // part). Closing may delete a window, hence the guarded list.
    QList<QPointer<QWidget>> windows;
    windows << main;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != main) {
            windows << w;
        }
    }
    for (const QPointer<QWidget>& w : windows) {
        if (w && (w == main || w->isVisible())) {
            w->close();
        }
    }
    QCoreApplication::quit();
}
