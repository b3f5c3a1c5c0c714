#include "playback/AudioEngine.h"

#include "playback/engine/AudioLibraries.h"
#include "playback/engine/DecodeThread.h"
#include "playback/engine/Gain.h"
#include "playback/engine/MidiSynth.h"
#include "playback/engine/NullOutput.h"
#include "playback/engine/OpenDecoder.h"
#include "playback/engine/SdlOutput.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <future>

namespace {

// About 1.5 s at 44.1 kHz: the decoder can be late by that much before the output runs dry.
constexpr size_t kRingFrames = 65536;
// Volume and balance changes glide over this many frames instead of clicking.
constexpr long kGainRampFrames = 256;
// Captured audio is capped so a long song in a test cannot exhaust memory.
constexpr long long kMaxCaptureSeconds = 600;

// The decode thread looks at the ring four times in the time the fastest output drains it.
std::chrono::microseconds pollPeriod(double nullOutputSpeed) {
    const double speed = nullOutputSpeed > 0.0 ? nullOutputSpeed : 1.0;
    const auto micros = static_cast<long>(double(kRingFrames) / 48000.0 / 4.0 / speed * 1e6);
    return std::chrono::microseconds(std::clamp(micros, 1000L, 200000L));
}

void sayNoDeviceOnce(const QString& reason) {
    static std::atomic<bool> said{false};
    if (!said.exchange(true)) {
        std::fprintf(stderr, "Tunara: geen geluidsapparaat beschikbaar (%s); er wordt stil afgespeeld.\n",
                     reason.toLocal8Bit().constData());
    }
}

} // namespace

struct AudioEngine::Impl : FrameSource {
    enum class State { Empty, Stopped, Playing, Paused };

    explicit Impl(const Options& o) : options(o), stream(kRingFrames, pollPeriod(o.nullOutputSpeed)) {}

    ~Impl() override {
        if (output) {
            output->pause();
            output->close();
            output.reset();
        }
        // Then the stream goes, with its decoder, before the synthesizer the decoder may use.
    }

    // With the output paused: the count of played (and captured) frames back to 0.
    void resetPlayed() {
        framesPlayed.store(0);
        capturedFrames.store(0);
        currentGain = {gainLeft.load(), gainRight.load()};
    }

    void haltOutput() {
        if (output) {
            output->pause();
        }
    }

    void rewind() {
        haltOutput();
        stream.rewind();
        resetPlayed();
        atStart = true;
    }

    bool finished() const {
        const long long end = stream.endFrame();
        return end >= 0 && framesPlayed.load(std::memory_order_acquire) >= end;
    }

    bool ensureOutput(QString* error) {
        if (output && output->sampleRate() == rate) {
            return true;
        }
        if (prepared.valid()) {
            PreparedOutput early = prepared.get(); // waits for the worker if it is still at it
            if (early.output && !output) {
                output = std::move(early.output);
            } else if (!early.output && options.output == Options::Output::Auto) {
                sayNoDeviceOnce(early.error);
                sdlUnavailable = true;
            }
        }
        if (!output) {
            if (options.output == Options::Output::Null || sdlUnavailable) {
                output = std::make_unique<NullOutput>(options.nullOutputSpeed);
            } else {
                output = std::make_unique<SdlOutput>();
            }
        }
        if (output->open(rate, this, error)) {
            return true;
        }
        if (options.output == Options::Output::Sdl || dynamic_cast<SdlOutput*>(output.get()) == nullptr) {
            output.reset();
            return false;
        }
        sayNoDeviceOnce(*error);
        sdlUnavailable = true;
        output = std::make_unique<NullOutput>(options.nullOutputSpeed);
        return output->open(rate, this, error);
    }

    void updateGains() {
        const playback::StereoGain g = playback::combinedGain(volume, balance);
        gainLeft.store(g.left, std::memory_order_relaxed);
        gainRight.store(g.right, std::memory_order_relaxed);
    }

    // The output thread: drain the stream, apply the gains, count.
    void render(float* stereo, long frames) noexcept override {
        const auto got = static_cast<long>(stream.read(stereo, static_cast<size_t>(frames)));
        const playback::StereoGain target{gainLeft.load(std::memory_order_relaxed),
                                          gainRight.load(std::memory_order_relaxed)};
        currentGain = playback::applyGainRamp(stereo, got, currentGain, target, kGainRampFrames);
        if (got < frames) {
            std::memset(stereo + 2 * got, 0, static_cast<size_t>(frames - got) * 2 * sizeof(float));
        }
        if (got > 0) {
            if (!capture.empty()) {
                const size_t have = capturedFrames.load(std::memory_order_relaxed);
                const size_t n = std::min(static_cast<size_t>(got), capture.size() / 2 - have);
                std::memcpy(capture.data() + 2 * have, stereo, n * 2 * sizeof(float));
                capturedFrames.store(have + n, std::memory_order_release);
            }
            framesPlayed.fetch_add(got, std::memory_order_release);
        }
    }

    const Options options;

    // GUI thread.
    State state = State::Empty;
    long long lengthFrames = 0;
    int rate = 0;
    int channelCount = 0;
    QString lastError;
    int volume = 0;
    int balance = 0;
    bool autoStart = true;
    bool atStart = true; // nothing has been drawn since the last load or rewind
    bool sdlUnavailable = false;
    struct PreparedOutput {
        std::unique_ptr<SdlOutput> output;
        QString error;
    };
    std::future<PreparedOutput> prepared; // the sound device's start, from prepareInBackground()
    std::unique_ptr<MidiSynth> synth;
    std::unique_ptr<AudioOutput> output;

    // The decoder and its thread; declared after the synthesizer, so destroyed before it.
    DecodeThread stream;

    // Shared with the output thread, lock-free.
    std::atomic<long long> framesPlayed{0};
    std::atomic<float> gainLeft{1.0f};
    std::atomic<float> gainRight{1.0f};
    playback::StereoGain currentGain; // output thread only (reset while it is paused)
    std::vector<float> capture;       // sized on the GUI thread while the output is paused
    std::atomic<size_t> capturedFrames{0};
};

AudioEngine::AudioEngine() : AudioEngine(Options{}) {}

AudioEngine::AudioEngine(const Options& options) : d(std::make_unique<Impl>(options)) {}

AudioEngine::~AudioEngine() = default;

bool AudioEngine::setFileName(const QString& path) {
    d->haltOutput();
    d->stream.load(nullptr);
    d->resetPlayed();
    d->state = Impl::State::Empty;
    d->lengthFrames = 0;
    d->rate = 0;
    d->channelCount = 0;
    d->atStart = true;

    QString error;
    std::unique_ptr<Decoder> decoder =
        playback::openDecoder(path, d->options.soundFontPath, d->synth, &error);
    if (!decoder) {
        d->lastError = error;
        std::fprintf(stderr, "Tunara: %s: %s\n", QFile::encodeName(path).constData(),
                     error.toLocal8Bit().constData());
        return false;
    }
    d->lastError.clear();
    d->lengthFrames = decoder->lengthFrames();
    d->rate = decoder->sampleRate();
    d->channelCount = decoder->channels();
    if (d->options.captureSamples) {
        const long long room = std::min(d->lengthFrames, kMaxCaptureSeconds * d->rate);
        d->capture.assign(static_cast<size_t>(2 * room), 0.0f);
    }
    d->stream.load(std::move(decoder));
    d->resetPlayed();
    d->state = Impl::State::Stopped;
    return true;
}

void AudioEngine::setAutoStart(bool autoStart) {
    d->autoStart = autoStart;
}

std::optional<double> AudioEngine::duration() const {
    if (d->state == Impl::State::Empty) {
        return std::nullopt;
    }
    return static_cast<double>(d->lengthFrames) / static_cast<double>(d->rate);
}

std::optional<double> AudioEngine::currentPosition() const {
    if (d->state == Impl::State::Empty) {
        return std::nullopt;
    }
    if (d->finished()) {
        return duration(); // the very same double, so callers may compare exactly
    }
    return static_cast<double>(d->framesPlayed.load(std::memory_order_acquire)) /
           static_cast<double>(d->rate);
}

void AudioEngine::setVolume(int volume) {
    d->volume = volume;
    d->updateGains();
}

void AudioEngine::setBalance(int balance) {
    d->balance = balance;
    d->updateGains();
}

bool AudioEngine::isReady() const {
    // Pause and resume make sense only for a song under way: a stopped or merely measured file
    // would start playing on "resume" with nobody tracking it.
    return d->state == Impl::State::Playing || d->state == Impl::State::Paused;
}

bool AudioEngine::play() {
    switch (d->state) {
    case Impl::State::Empty:
        return false;
    case Impl::State::Paused:
        d->output->start();
        d->state = Impl::State::Playing;
        return true;
    case Impl::State::Playing:
        if (!d->finished()) {
            return true;
        }
        break; // played to its end: start again from the beginning
    case Impl::State::Stopped:
        break;
    }
    QString error;
    if (!d->ensureOutput(&error)) {
        d->lastError = QStringLiteral("geen geluidsapparaat beschikbaar");
        std::fprintf(stderr, "Tunara: %s (%s)\n", d->lastError.toLocal8Bit().constData(),
                     error.toLocal8Bit().constData());
        d->state = Impl::State::Stopped;
        return false;
    }
    if (!d->atStart) {
        d->rewind();
    }
    d->atStart = false;
    d->lastError.clear();
    d->output->start();
    d->state = Impl::State::Playing;
    return true;
}

void AudioEngine::pause() {
    if (d->state == Impl::State::Playing) {
        d->output->pause();
        d->state = Impl::State::Paused;
    }
}

void AudioEngine::stop() {
    if (d->state == Impl::State::Empty) {
        return;
    }
    d->haltOutput();
    if (!d->atStart) {
        d->rewind();
    }
    d->state = Impl::State::Stopped;
}

void AudioEngine::prepareInBackground() {
    if (d->options.output == Options::Output::Null || d->output || d->prepared.valid()) {
        return;
    }
    d->prepared = std::async(std::launch::async, [] {
        // The libraries only. SDL's audio system starts with the first song: once started it
        // keeps a thread that, with ALSA, looks for new devices ten times a second, which would
        // cost an idle program more than everything else it does. Starting it takes a few
        // milliseconds, well below a noticeable gap.
        Impl::PreparedOutput prepared{std::make_unique<SdlOutput>(), {}};
        if (playback::sdlLibrary(&prepared.error) == nullptr) {
            prepared.output.reset();
        }
        if (const SdlApi* sdl = playback::sdlLibrary(nullptr)) {
            sdl->SDL_TLSCleanup(); // SDL's per-thread state (its last error) would outlive the thread
        }
        playback::fluidLibrary(nullptr); // the library only: the SoundFont waits for a MIDI file
        return prepared;
    });
}

QString AudioEngine::errorString() const {
    return d->lastError;
}

QString AudioEngine::failureReason() const {
    return d->lastError;
}

std::optional<int> AudioEngine::sampleRate() const {
    if (d->state == Impl::State::Empty) {
        return std::nullopt;
    }
    return d->rate;
}

std::optional<int> AudioEngine::channels() const {
    if (d->state == Impl::State::Empty) {
        return std::nullopt;
    }
    return d->channelCount;
}

bool AudioEngine::isPlaying() const {
    return d->state == Impl::State::Playing;
}

bool AudioEngine::usesSilentOutput() const {
    return d->options.output == Options::Output::Null || d->sdlUnavailable;
}

std::vector<float> AudioEngine::capturedSamples() const {
    const size_t frames = d->capturedFrames.load(std::memory_order_acquire);
    return {d->capture.begin(), d->capture.begin() + static_cast<std::ptrdiff_t>(2 * frames)};
}
