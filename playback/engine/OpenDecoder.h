#pragma once

#include "playback/engine/Decoder.h"

#include <QString>

#include <memory>

class MidiSynth;

namespace playback {

// Opens the file at `path` with the decoder its contents call for: MIDI (by its header, or by
// a .mid/.midi/.rmi/.kar name) through `synth`, anything else as MPEG audio. The first MIDI file
// creates `synth` with the SoundFont at `soundFontPath` (empty: the system's); it is kept for the
// next. nullptr, with a short Dutch reason in `error`, when the file cannot be played.
// Any thread, but `synth` must not be playing meanwhile.
std::unique_ptr<Decoder> openDecoder(const QString& path, const QString& soundFontPath,
                                     std::unique_ptr<MidiSynth>& synth, QString* error);

} // namespace playback
