#include "playback/engine/SdlOutput.h"

#include "playback/engine/AudioLibraries.h"

#include <dlfcn.h>

namespace {

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// Where ALSA finds no card it prints a screenful of configuration errors on every attempt; the
// engine says in one line that it plays silently instead. SDL loads ALSA at run time, so its
// error handler is reached the same way, if SDL has loaded it at all.
void quietenAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (alsa == nullptr) {
        return;
    }
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
        set(&ignoreAlsaMessage);
    }
    dlclose(alsa);
}

} // namespace

SdlOutput::~SdlOutput() {
    close();
    if (m_sdl != nullptr) {
        m_sdl->SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

bool SdlOutput::prepare(QString* error) {
    if (m_sdl != nullptr) {
        return true;
    }
    const SdlApi* sdl = playback::sdlLibrary(error);
    if (sdl == nullptr) {
        return false;
    }
    // Without this SDL takes SIGINT and SIGTERM for itself and Ctrl+C no longer ends the program.
    sdl->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Counted: SDL_InitSubSystem and SDL_QuitSubSystem nest.
    if (sdl->SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (error != nullptr) {
            *error = QString::fromUtf8(sdl->SDL_GetError());
        }
        return false;
    }
    quietenAlsa();
    m_sdl = sdl;
    return true;
}

bool SdlOutput::open(int sampleRate, FrameSource* source, QString* error) {
    close();
    if (!prepare(error)) {
        return false;
    }
    m_source = source;
    SDL_AudioSpec want{};
    want.freq = sampleRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    // Blocks of about 46 ms (2048 frames at 44.1 kHz, 512 at 8 kHz): few wake-ups, and a
    // position that moves in steps well below the 60 ms at which the program reads it.
    Uint16 frames = 256;
    while (frames < 4096 && frames * 2 <= sampleRate / 20) {
        frames = static_cast<Uint16>(frames * 2);
    }
    want.samples = frames;
    want.callback = &SdlOutput::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No allowed changes: whatever the device runs at, SDL converts to and from exactly `want`.
    m_device = m_sdl->SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (m_device == 0) {
        if (error != nullptr) {
            *error = QString::fromUtf8(m_sdl->SDL_GetError());
        }
        close();
        return false;
    }
    m_rate = sampleRate;
    return true;
}

void SdlOutput::callback(void* self, uint8_t* stream, int bytes) {
    auto* out = static_cast<SdlOutput*>(self);
    out->m_source->render(reinterpret_cast<float*>(stream), bytes / static_cast<int>(2 * sizeof(float)));
}

void SdlOutput::start() {
    if (m_device != 0) {
        m_sdl->SDL_PauseAudioDevice(m_device, 0);
    }
}

void SdlOutput::pause() {
    // SDL runs the callback under the device lock that this takes: once it returns, no callback
    // is running and none will run until start().
    if (m_device != 0) {
        m_sdl->SDL_PauseAudioDevice(m_device, 1);
    }
}

void SdlOutput::close() {
    if (m_device != 0) {
        m_sdl->SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    m_rate = 0;
}
