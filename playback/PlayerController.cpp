#include "playback/PlayerController.h"

PlayerController::PlayerController(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

void PlayerController::Knop_Click(int) {}
void PlayerController::Timer1_Timer() {}
