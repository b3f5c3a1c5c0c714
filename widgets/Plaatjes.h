#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

// The program's built-in pictures, all vector drawings of our own.
// Img(0) is the pause bar ("Pauze"), Img(1) the resume bar ("Resume"), Img(2) the built-in logo.
class Plaatjes {
public:
    static QIcon Img(int index);

    // The command bar's 32x32 icons, by KnopBottom index (1 to 7 and 9).
    static QIcon commandIcon(int index);
    // The player buttons' bars, by Knop index (1 Start, 2 Stop, 3 Pauze, 4 Next).
    static QIcon playerButton(int index);
    // KnopL 1 (Playtime) and 2 (Mp3 info).
    static QIcon songInfoButton(int index);
    // KnopR 1 (remove selected) and 2 (clear all).
    static QIcon playlistEditButton(int index);
    static QIcon selectieButton();
    static QIcon selectieAllButton();
    static QIcon okButton();
    static QIcon cancelButton();
    static QIcon aboutIcon();
    static QIcon aboutBanner();
    static QIcon applicationIcon();

    // Resource path of a picture, e.g. ":/buttons/start.svg". Every picture is one icon for the
    // whole run, shared by all that show it; its file is read when it is first shown. GUI thread
    // only, like all of the store.
    static QIcon fromResource(const QString& path);

    // The built-in logo at `size` (device-independent pixels) and device pixel ratio `dpr`: the
    // same pixels as Img(2).pixmap(size, dpr). startBuiltInLogo() begins drawing it on another
    // thread, so that a builtInLogo() of the same size and ratio a little later need not wait for
    // it; without it, or for another size, builtInLogo() draws it itself. GUI thread only.
    static void startBuiltInLogo(const QSize& size, qreal dpr);
    static QPixmap builtInLogo(const QSize& size, qreal dpr);
};
