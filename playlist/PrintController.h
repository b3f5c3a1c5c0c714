#pragma once

#include "app/MainContext.h"

#include <QObject>

class PrintController : public QObject {
    Q_OBJECT
public:
    PrintController(const MainContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    // Command bar button 5: pops up Printmenu at the mouse position.
    void popupPrintmenu();
    void printnummers_Click(int index);

private:
    MainContext m_ctx;
};
