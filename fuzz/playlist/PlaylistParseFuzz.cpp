// Feeds arbitrary bytes to the stored-playlist reader. No input may crash it or break the
// entry limit, and what it reads must survive being written and read again unchanged.
#include "playlist/PlaylistFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype limit = size > 0 ? data[0] % 8 : 0;
    const playlist::ParsedPlaylist parsed = playlist::parsePlaylist(bytes, limit);
    if (parsed.entries.size() > limit || parsed.dropped < 0) {
        std::abort();
    }
    // A leading byte-order mark is not part of any text: a first path that starts with one
    // cannot come back.
    if (!parsed.entries.isEmpty() && parsed.entries.first().fullPath.startsWith(QChar(0xFEFF))) {
        return 0;
    }
    const playlist::ParsedPlaylist again =
        playlist::parsePlaylist(playlist::serializePlaylist(parsed.entries), limit);
    if (again.entries != parsed.entries || again.dropped != 0) {
        std::abort();
    }
    return 0;
}
