#include "songinfo/SongInfoController.h"

SongInfoController::SongInfoController(const MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {}

void SongInfoController::KnopL_Click(int) {}
