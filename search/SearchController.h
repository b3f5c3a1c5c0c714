#pragma once

#include "common/MainContext.h"

#include <QObject>

// Opens the search window from the command bar.
class SearchController : public QObject {
    Q_OBJECT
public:
    SearchController(const MainContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    // Command bar button 4: a fresh search window, modal over the main window. Returns when the
    // window is closed.
    void showZoeken();

private:
    MainContext m_ctx;
};
