#pragma once

#include "app/MainContext.h"

#include <QObject>

class SearchController : public QObject {
    Q_OBJECT
public:
    SearchController(const MainContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    // Command bar button 4: the search window, modal.
    void showZoeken();

private:
    MainContext m_ctx;
};
