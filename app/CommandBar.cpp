#include "app/CommandBar.h"

CommandBar::CommandBar(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

void CommandBar::openWebPage() {}
void CommandBar::toggleHelp() {}
void CommandBar::quit() {}
