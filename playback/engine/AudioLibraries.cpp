#include "playback/engine/AudioLibraries.h"

#include <dlfcn.h>

#include <initializer_list>
#include <mutex>

namespace playback {
namespace {

template <typename Api> struct Loaded {
    Api api;
    QString failure;
    std::once_flag once;
};

void* openFirst(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (void* library = dlopen(name, RTLD_NOW | RTLD_LOCAL)) {
            return library;
        }
    }
    return nullptr;
}

#define TUNARA_RESOLVE(name)                                                                                 \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(library, #name));                                  \
    missing = api.name == nullptr ? QStringLiteral(#name) : missing;

QString loadFluid(FluidApi& api) {
    void* library = openFirst({"libfluidsynth.so.3", "libfluidsynth.so"});
    if (library == nullptr) {
        return QStringLiteral("FluidSynth niet geïnstalleerd (libfluidsynth.so.3)");
    }
    QString missing;
    TUNARA_FLUID_FUNCTIONS(TUNARA_RESOLVE)
    return missing.isEmpty() ? QString()
                             : QStringLiteral("FluidSynth onvolledig (%1 ontbreekt)").arg(missing);
}

QString loadSdl(SdlApi& api) {
    void* library = openFirst({"libSDL2-2.0.so.0", "libSDL2.so"});
    if (library == nullptr) {
        return QStringLiteral("SDL2 niet geïnstalleerd (libSDL2-2.0.so.0)");
    }
    QString missing;
    TUNARA_SDL_FUNCTIONS(TUNARA_RESOLVE)
    return missing.isEmpty() ? QString() : QStringLiteral("SDL2 onvolledig (%1 ontbreekt)").arg(missing);
}

#undef TUNARA_RESOLVE

template <typename Api> const Api* get(Loaded<Api>& loaded, QString (*load)(Api&), QString* error) {
    std::call_once(loaded.once, [&] { loaded.failure = load(loaded.api); });
    if (loaded.failure.isEmpty()) {
        return &loaded.api;
    }
    if (error != nullptr) {
        *error = loaded.failure;
    }
    return nullptr;
}

} // namespace

const FluidApi* fluidLibrary(QString* error) {
    static Loaded<FluidApi> loaded;
    return get(loaded, &loadFluid, error);
}

const SdlApi* sdlLibrary(QString* error) {
    static Loaded<SdlApi> loaded;
    return get(loaded, &loadSdl, error);
}

} // namespace playback
