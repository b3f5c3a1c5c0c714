#include "playback/engine/MidiSynth.h"

#include "playback/engine/AudioLibraries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <mutex>

namespace {

// FluidSynth's errors go to stderr under our name; its warnings and chatter (a preset missing on
// some channel, and the like) are dropped, as the program has no log.
void logToStderr(int level, const char* message, void*) {
    if (level == FLUID_PANIC || level == FLUID_ERR) {
        std::fprintf(stderr, "Tunara: FluidSynth: %s\n", message);
    }
}

void routeLog(const FluidApi& api) {
    static std::once_flag once;
    std::call_once(once, [&api] {
        for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
            api.fluid_set_log_function(level, logToStderr, nullptr);
        }
    });
}

} // namespace

QString MidiSynth::findSoundFont(const QStringList& preferred, const QStringList& folders) {
    for (const QString& path : preferred) {
        if (QFileInfo(path).isFile()) {
            return path;
        }
    }
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList names = dir.entryList({QStringLiteral("*.sf2"), QStringLiteral("*.SF2")},
                                                QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
        if (!names.isEmpty()) {
            return dir.filePath(names.first());
        }
    }
    return {};
}

QString MidiSynth::findSoundFont() {
    return findSoundFont({QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
                          QStringLiteral("/usr/share/soundfonts/default.sf2")},
                         {QStringLiteral("/usr/share/sounds/sf2"), QStringLiteral("/usr/share/soundfonts")});
}

std::unique_ptr<MidiSynth> MidiSynth::create(const QString& soundFontPath, QString* error) {
    const auto failWith = [error](const QString& reason) {
        if (error != nullptr) {
            *error = reason;
        }
        return nullptr;
    };
    const QString path = soundFontPath.isEmpty() ? findSoundFont() : soundFontPath;
    if (path.isEmpty()) {
        return failWith(QStringLiteral("geen SoundFont gevonden voor MIDI-bestanden (gezocht in "
                                       "/usr/share/sounds/sf2 en /usr/share/soundfonts; installeer "
                                       "bijvoorbeeld fluid-soundfont-gm)"));
    }
    if (!QFileInfo(path).isFile()) {
        return failWith(QStringLiteral("SoundFont %1 bestaat niet").arg(path));
    }
    QString missing;
    const FluidApi* api = playback::fluidLibrary(&missing);
    if (api == nullptr) {
        return failWith(missing);
    }
    routeLog(*api);
    std::unique_ptr<MidiSynth> synth(new MidiSynth(*api));
    synth->m_settings = api->new_fluid_settings();
    if (synth->m_settings == nullptr) {
        return failWith(QStringLiteral("FluidSynth niet beschikbaar"));
    }
    api->fluid_settings_setnum(synth->m_settings, "synth.sample-rate", kSampleRate);
    // Only samples of presets in use are read, so a 150 MB SoundFont opens in a tenth of a second.
    // FluidSynth's own default (0.2) leaves MIDI songs some 8 dB below typical MP3s in the same
    // playlist; 0.5 brings them near while leaving room for dense arrangements.
    api->fluid_settings_setnum(synth->m_settings, "synth.gain", 0.5);
    api->fluid_settings_setint(synth->m_settings, "synth.dynamic-sample-loading", 1);
    api->fluid_settings_setint(synth->m_settings, "synth.lock-memory", 0);
    // One thread at a time uses the synthesizer (the engine sees to it): no locking inside.
    api->fluid_settings_setint(synth->m_settings, "synth.threadsafe-api", 0);
    synth->m_synth = api->new_fluid_synth(synth->m_settings);
    if (synth->m_synth == nullptr) {
        return failWith(QStringLiteral("FluidSynth niet beschikbaar"));
    }
    const QByteArray name = QFile::encodeName(path);
    // Presets are not assigned to the channels here: that reads their samples, and reset() does it
    // on the thread that renders, before the first note.
    if (api->fluid_synth_sfload(synth->m_synth, name.constData(), 0) == FLUID_FAILED) {
        return failWith(QStringLiteral("SoundFont %1 kan niet geladen worden").arg(path));
    }
    synth->m_soundFontPath = path;
    return synth;
}

MidiSynth::~MidiSynth() {
    if (m_synth != nullptr) {
        m_api->delete_fluid_synth(m_synth);
    }
    if (m_settings != nullptr) {
        m_api->delete_fluid_settings(m_settings);
    }
}

void MidiSynth::reset() {
    m_api->fluid_synth_system_reset(m_synth);
}
