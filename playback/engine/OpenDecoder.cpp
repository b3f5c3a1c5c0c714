#include "playback/engine/OpenDecoder.h"

#include "playback/engine/MidiDecoder.h"
#include "playback/engine/MidiSynth.h"
#include "playback/engine/Mp3Decoder.h"
#include "playback/engine/SmfParser.h"

#include <QFile>
#include <QFileInfo>

namespace {

// No real MIDI file comes near this; a bigger one is not read into memory.
constexpr qint64 kMaxMidiBytes = 32 * 1024 * 1024;
// Nor does any song last this long (68 years): a MIDI file whose delta times add up beyond it is
// damaged. Its frame count would overflow, and its seconds would not fit the 32-bit whole-second
// values that the displays and sliders take.
constexpr long double kMaxMidiSeconds = 2147483647.0L;

bool hasMidiSuffix(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("mid") || suffix == QLatin1String("midi") ||
           suffix == QLatin1String("rmi") || suffix == QLatin1String("kar");
}

std::nullptr_t fail(QString* error, const QString& reason) {
    *error = reason;
    return nullptr;
}

} // namespace

std::unique_ptr<Decoder> playback::openDecoder(const QString& path, const QString& soundFontPath,
                                               std::unique_ptr<MidiSynth>& synth, QString* error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return fail(error, QStringLiteral("bestand bestaat niet"));
    }
    if (!info.isFile()) {
        return fail(error, QStringLiteral("geen gewoon bestand"));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(error, QStringLiteral("bestand kan niet gelezen worden"));
    }
    if (file.size() == 0) {
        return fail(error, QStringLiteral("bestand is leeg"));
    }
    if (!playback::looksLikeMidi(file.peek(12)) && !hasMidiSuffix(path)) {
        file.close();
        return Mp3Decoder::open(path, error);
    }
    if (file.size() > kMaxMidiBytes) {
        return fail(error, QStringLiteral("MIDI-bestand is te groot"));
    }
    // Mapped rather than copied: the events the reader keeps are the only other copy.
    uchar* mapped = file.map(0, file.size());
    const QByteArray bytes = mapped != nullptr
                                 ? QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), file.size())
                                 : file.readAll();
    std::optional<playback::SmfSong> song = playback::parseSmf(bytes, error);
    if (mapped != nullptr) {
        file.unmap(mapped);
    }
    if (!song) {
        return nullptr;
    }
    if (!(song->lengthSeconds < kMaxMidiSeconds)) {
        return fail(error, QStringLiteral("MIDI-bestand is beschadigd (onmogelijk lange speelduur)"));
    }
    if (!synth) {
        synth = MidiSynth::create(soundFontPath, error);
        if (!synth) {
            return nullptr;
        }
    }
    return std::make_unique<MidiDecoder>(std::move(*song), *synth);
}
