#include "browse/Browser.h"

Browser::Browser(const MainContext& ctx, QObject* parent) : QObject(parent), m_ctx(ctx) {}

void Browser::Drive1_Change(int) {}
void Browser::Dir1_Change() {}
void Browser::List1_DblClick() {}
void Browser::SelectieKnop_Click() {}
void Browser::SelectieAllKnop_Click() {}
