#pragma once

#include <QString>

// The help screen's text: twenty-four lines, each followed by CR LF (the last one too).
namespace app {

QString helpText();

} // namespace app
