#pragma once

#include "app/MainContext.h"

#include <QObject>

class PlayerController : public QObject {
    Q_OBJECT
public:
    PlayerController(const MainContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    void Knop_Click(int index);
    void Timer1_Timer();

private:
    MainContext m_ctx;
};
