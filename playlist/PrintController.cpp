#include "playlist/PrintController.h"

PrintController::PrintController(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

void PrintController::popupPrintmenu() {}
void PrintController::printnummers_Click(int) {}
