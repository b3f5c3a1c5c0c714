#include "playback/AudioEngine.h"

#include "playback/engine/Gain.h"
#include "playback/engine/MidiDecoder.h"
#include "playback/engine/MidiSynth.h"
#include "playback/engine/Mp3Decoder.h"
#include "playback/engine/NullOutput.h"
#include "playback/engine/RingBuffer.h"
#include "playback/engine/SdlOutput.h"
#include "playback/engine/SmfParser.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <future>
#include <mutex>
#include <thread>

namespace {

// About 1.5 s at 44.1 kHz: the decoder can be late by that much before the output runs dry.
constexpr size_t kRingFrames = 65536;
// Frames decoded per turn of the decode thread; it lets the GUI thread in between turns.
constexpr long kDecodeChunk = 4096;
// A turn is not worth it for less room than this.
constexpr long kMinDecodeRoom = 1024;
// Volume and balance changes glide over this many frames instead of clicking.
constexpr long kGainRampFrames = 256;
// No real MIDI file comes near this; a bigger one is not read into memory.
constexpr qint64 kMaxMidiBytes = 32 * 1024 * 1024;
// Nor does any song last this long (68 years): a MIDI file whose delta times add up beyond it is
// damaged. Its frame count would overflow, and its seconds would not fit the 32-bit whole-second
// values that the displays and sliders take.
constexpr long double kMaxMidiSeconds = 2147483647.0L;
// Captured audio is capped so a long song in a test cannot exhaust memory.
constexpr long long kMaxCaptureSeconds = 600;

bool hasMidiSuffix(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("mid") || suffix == QLatin1String("midi") ||
           suffix == QLatin1String("rmi") || suffix == QLatin1String("kar");
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

    explicit Impl(const Options& o) : options(o) {
        const double speed = options.nullOutputSpeed > 0.0 ? options.nullOutputSpeed : 1.0;
        const double ringSeconds = double(kRingFrames) / 48000.0;
        const auto micros = static_cast<long>(ringSeconds / 4.0 / speed * 1e6);
        pollPeriod = std::chrono::microseconds(std::clamp(micros, 1000L, 200000L));
        chunk = std::make_unique<float[]>(2 * kDecodeChunk);
        thread = std::thread([this] { decodeLoop(); });
    }

    ~Impl() override {
        if (output) {
            output->pause();
            output->close();
            output.reset();
        }
        {
            const std::lock_guard lock(mutex);
            quit = true;
        }
        wake.notify_all();
        thread.join();
        decoder.reset(); // before the synthesizer it may use
    }

    // Keeps the decode thread out (it lets go between chunks when it sees the gate) for as long
    // as it lives.
    class Hold {
    public:
        explicit Hold(Impl& impl) : m_impl(impl) {
            m_impl.gate.store(true);
            m_impl.mutex.lock();
            m_impl.gate.store(false);
        }
        ~Hold() {
            m_impl.mutex.unlock();
            m_impl.wake.notify_all();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        Impl& m_impl;
    };

    // With the output paused and the decoder held: back to an empty stream at frame 0.
    void resetStreamHeld() {
        ring.reset();
        framesQueued = 0;
        decoderDone = false;
        framesPlayed.store(0);
        endFrame.store(-1);
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
        {
            Hold hold(*this);
            resetStreamHeld();
            if (decoder && !decoder->rewind()) {
                // Nothing more will come: the song reads as ended rather than stalling.
                decoderDone = true;
                endFrame.store(0, std::memory_order_release);
            }
        }
        atStart = true;
    }

    bool finished() const {
        const long long end = endFrame.load(std::memory_order_acquire);
        return end >= 0 && framesPlayed.load(std::memory_order_acquire) >= end;
    }

    std::unique_ptr<Decoder> openDecoder(const QString& path, QString* error) {
        const QFileInfo info(path);
        if (!info.exists()) {
            *error = QStringLiteral("bestand bestaat niet");
            return nullptr;
        }
        if (!info.isFile()) {
            *error = QStringLiteral("geen gewoon bestand");
            return nullptr;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("bestand kan niet gelezen worden");
            return nullptr;
        }
        if (file.size() == 0) {
            *error = QStringLiteral("bestand is leeg");
            return nullptr;
        }
        const QByteArray head = file.peek(12);
        if (!smf::looksLikeMidi(head) && !hasMidiSuffix(path)) {
            file.close();
            return Mp3Decoder::open(path, error);
        }
        if (file.size() > kMaxMidiBytes) {
            *error = QStringLiteral("MIDI-bestand is te groot");
            return nullptr;
        }
        // Mapped rather than copied: the events the reader keeps are the only other copy.
        uchar* mapped = file.size() > 0 ? file.map(0, file.size()) : nullptr;
        const QByteArray bytes =
            mapped != nullptr ? QByteArray::fromRawData(reinterpret_cast<const char*>(mapped), file.size())
                              : file.readAll();
        std::optional<smf::Song> song = smf::parse(bytes, error);
        if (mapped != nullptr) {
            file.unmap(mapped);
        }
        if (!song) {
            return nullptr;
        }
        if (!(song->lengthSeconds < kMaxMidiSeconds)) {
            *error = QStringLiteral("MIDI-bestand is beschadigd (onmogelijk lange speelduur)");
            return nullptr;
        }
        if (!synth) {
            // The SoundFont is loaded once, for the first MIDI file, and kept.
            synth = MidiSynth::create(options.soundFontPath, error);
            if (!synth) {
                return nullptr;
            }
        }
        return std::make_unique<MidiDecoder>(std::move(*song), *synth);
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
        const gain::StereoGain g = gain::combined(volume, balance);
        gainLeft.store(g.left, std::memory_order_relaxed);
        gainRight.store(g.right, std::memory_order_relaxed);
    }

    // The output thread: drain the ring, apply the gains, count.
    void render(float* stereo, long frames) noexcept override {
        const auto got = static_cast<long>(ring.read(stereo, static_cast<size_t>(frames)));
        const gain::StereoGain target{gainLeft.load(std::memory_order_relaxed),
                                      gainRight.load(std::memory_order_relaxed)};
        currentGain = gain::applyRamped(stereo, got, currentGain, target, kGainRampFrames);
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

    // The decode thread: keep the ring filled from the decoder.
    void decodeLoop() {
        std::unique_lock lock(mutex);
        while (!quit) {
            const bool work = decoder && !decoderDone && ring.writableFrames() >= size_t(kMinDecodeRoom);
            if (!work || gate.load()) {
                wake.wait_for(lock, pollPeriod);
                continue;
            }
            const long room = static_cast<long>(std::min(ring.writableFrames(), size_t(kDecodeChunk)));
            const long n = decoder->read(chunk.get(), room);
            if (n > 0) {
                ring.write(chunk.get(), static_cast<size_t>(n));
                framesQueued += n;
            }
            if (n <= 0 || framesQueued >= lengthFramesShared) {
                decoderDone = true;
                endFrame.store(framesQueued, std::memory_order_release);
            }
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

    // Decode thread, guarded by `mutex` (the GUI thread takes it through Hold).
    std::mutex mutex;
    std::condition_variable wake;
    std::atomic<bool> gate{false};
    bool quit = false;
    std::unique_ptr<Decoder> decoder;
    long long lengthFramesShared = 0;
    long long framesQueued = 0;
    bool decoderDone = false;
    std::unique_ptr<float[]> chunk;
    std::chrono::microseconds pollPeriod{100000};
    std::thread thread;

    // Shared with the output thread, lock-free.
    RingBuffer ring{kRingFrames};
    std::atomic<long long> framesPlayed{0};
    std::atomic<long long> endFrame{-1}; // frames the decoder gave in all, once it has no more
    std::atomic<float> gainLeft{1.0f};
    std::atomic<float> gainRight{1.0f};
    gain::StereoGain currentGain; // output thread only (reset while it is paused)
    std::vector<float> capture;   // sized on the GUI thread while the output is paused
    std::atomic<size_t> capturedFrames{0};
};

AudioEngine::AudioEngine() : AudioEngine(Options{}) {}

AudioEngine::AudioEngine(const Options& options) : d(std::make_unique<Impl>(options)) {}

AudioEngine::~AudioEngine() = default;

bool AudioEngine::setFileName(const QString& path) {
    d->haltOutput();
    {
        Impl::Hold hold(*d);
        d->decoder.reset();
        d->lengthFramesShared = 0;
        d->resetStreamHeld();
    }
    d->state = Impl::State::Empty;
    d->lengthFrames = 0;
    d->rate = 0;
    d->channelCount = 0;
    d->atStart = true;

    QString error;
    std::unique_ptr<Decoder> decoder = d->openDecoder(path, &error);
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
    {
        Impl::Hold hold(*d);
        d->decoder = std::move(decoder);
        d->lengthFramesShared = d->lengthFrames;
        d->resetStreamHeld();
    }
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
        Impl::PreparedOutput prepared{std::make_unique<SdlOutput>(), {}};
        if (!prepared.output->prepare(&prepared.error)) {
            prepared.output.reset();
        }
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
