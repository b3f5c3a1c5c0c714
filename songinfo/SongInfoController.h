#pragma once

#include "app/MainContext.h"

#include <QObject>

class SongInfoController : public QObject {
    Q_OBJECT
public:
    SongInfoController(const MainContext& ctx, QObject* parent = nullptr);

public Q_SLOTS:
    void KnopL_Click(int index);

private:
    MainContext m_ctx;
};
