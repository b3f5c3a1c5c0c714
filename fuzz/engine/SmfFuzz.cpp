// Feeds arbitrary bytes to the MIDI file reader and plays what it accepts through the event
// timing: no input may crash it, hang it or give times that run backwards.
#include "playback/engine/SmfParser.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const auto song = playback::parseSmf(bytes, &error);
    if (!song) {
        if (error.isEmpty()) {
            std::abort(); // a refusal always says why
        }
        return 0;
    }
    double last = 0.0;
    for (size_t i = 0; i < song->eventCount(); ++i) {
        const playback::SmfEvent e = song->event(i);
        if (!(e.seconds >= last) || e.seconds > static_cast<double>(song->lengthSeconds) ||
            size_t(e.sysexOffset) + e.sysexLength > song->sysex.size()) {
            std::abort();
        }
        last = e.seconds;
    }
    return 0;
}
