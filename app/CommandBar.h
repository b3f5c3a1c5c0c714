#pragma once

#include "app/MainContext.h"

#include <QObject>

// The command bar's own buttons: 2 (web page), 3 (help screen) and 9 (quit).
class CommandBar : public QObject {
    Q_OBJECT
public:
    CommandBar(const MainContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    void openWebPage();
    void toggleHelp();
    void quit();

private:
    MainContext m_ctx;
};
