#pragma once

#include <QString>

#include <SDL.h>
#include <fluidsynth.h>

// The synthesizer and sound-device libraries, opened at run time on first use rather than linked:
// together with the sound-system clients they pull in (PulseAudio, JACK, ALSA, GLib), loading
// them costs a start-up tens of milliseconds before the window can show. The tables hold the
// functions the engine calls, under their own names.
//
// Threads: any. The first call opens the library (it may take a while; later calls made
// meanwhile wait for it), and the library stays loaded until the process ends.

#define TUNARA_FLUID_FUNCTIONS(X)                                                                            \
    X(new_fluid_settings)                                                                                    \
    X(delete_fluid_settings)                                                                                 \
    X(fluid_settings_setnum)                                                                                 \
    X(fluid_settings_setint)                                                                                 \
    X(new_fluid_synth)                                                                                       \
    X(delete_fluid_synth)                                                                                    \
    X(fluid_synth_sfload)                                                                                    \
    X(fluid_synth_system_reset)                                                                              \
    X(fluid_set_log_function)                                                                                \
    X(fluid_synth_noteon)                                                                                    \
    X(fluid_synth_noteoff)                                                                                   \
    X(fluid_synth_key_pressure)                                                                              \
    X(fluid_synth_cc)                                                                                        \
    X(fluid_synth_program_change)                                                                            \
    X(fluid_synth_channel_pressure)                                                                          \
    X(fluid_synth_pitch_bend)                                                                                \
    X(fluid_synth_sysex)                                                                                     \
    X(fluid_synth_write_float)

#define TUNARA_SDL_FUNCTIONS(X)                                                                              \
    X(SDL_SetHint)                                                                                           \
    X(SDL_InitSubSystem)                                                                                     \
    X(SDL_QuitSubSystem)                                                                                     \
    X(SDL_GetError)                                                                                          \
    X(SDL_OpenAudioDevice)                                                                                   \
    X(SDL_PauseAudioDevice)                                                                                  \
    X(SDL_CloseAudioDevice)                                                                                  \
    X(SDL_TLSCleanup)

#define TUNARA_DECLARE_FUNCTION(name) decltype(&::name) name = nullptr;

struct FluidApi {
    TUNARA_FLUID_FUNCTIONS(TUNARA_DECLARE_FUNCTION)
};

struct SdlApi {
    TUNARA_SDL_FUNCTIONS(TUNARA_DECLARE_FUNCTION)
};

#undef TUNARA_DECLARE_FUNCTION

namespace playback {

// nullptr, with a Dutch reason in `error`, when the library or one of its functions is missing.
const FluidApi* fluidLibrary(QString* error);
const SdlApi* sdlLibrary(QString* error);

} // namespace playback
