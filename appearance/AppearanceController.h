#pragma once

#include "app/MainContext.h"

#include <QObject>

class AppearanceController : public QObject {
    Q_OBJECT
public:
    AppearanceController(const MainContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    // Command bar button 1: the about window, modal.
    void showAbout();
    void Logo_DblClick();
    void ReclameLabel_DblClick();

private:
    MainContext m_ctx;
};
