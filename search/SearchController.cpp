#include "search/SearchController.h"

SearchController::SearchController(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

void SearchController::showZoeken() {}
