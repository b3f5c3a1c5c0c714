#include "search/SearchController.h"

#include "search/Zoeken.h"

SearchController::SearchController(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

void SearchController::showZoeken() {
    Zoeken window(m_ctx.state, m_ctx.playlist, m_ctx.c.InfoLabel, m_ctx.c.Main);
    window.exec();
}
