#include "appearance/AppearanceController.h"

AppearanceController::AppearanceController(const MainContext& ctx, QObject* parent)
    : QObject(parent), m_ctx(ctx) {}

void AppearanceController::showAbout() {}
void AppearanceController::Logo_DblClick() {}
void AppearanceController::ReclameLabel_DblClick() {}
