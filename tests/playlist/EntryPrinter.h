#pragma once

#include "playlist/PlaylistModel.h"

#include <ostream>

// Readable playlist entries in failure messages.
inline void PrintTo(const PlaylistEntry& e, std::ostream* os) {
    *os << "{\"" << e.displayName.toStdString() << "\", \"" << e.fullPath.toStdString() << "\"}";
}
