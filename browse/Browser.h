#pragma once

#include "app/MainContext.h"

#include <QObject>

class Browser : public QObject {
    Q_OBJECT
public:
    Browser(const MainContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    void Drive1_Change(int index);
    void Dir1_Change();
    void List1_DblClick();
    void SelectieKnop_Click();
    void SelectieAllKnop_Click();

private:
    MainContext m_ctx;
};
