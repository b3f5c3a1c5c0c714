// Timing program for the audio engine; bench/engine/run.sh drives it and runs the command-line
// anchors beside it. Every measurement prints one line "name value unit".
//
//   engine_bench make <folder>               writes the bench songs into the folder
//   engine_bench open <file> <name>          median time of setFileName + duration over 30 loads
//   engine_bench decode <file>               MP3 decoded in memory: times real time (best of 3)
//   engine_bench render <file> <soundfont>   MIDI rendered in memory, SoundFont load included
//   engine_bench first-midi <file>           first MIDI load of a fresh engine, default SoundFont
//   engine_bench play-cpu <file> <seconds>   CPU share of one core while playing in real time
#include "Fixtures.h"
#include "playback/AudioEngine.h"
#include "playback/engine/MidiDecoder.h"
#include "playback/engine/MidiSynth.h"
#include "playback/engine/Mp3Decoder.h"
#include "playback/engine/SmfParser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto toSeconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int make(const QString& folder) {
    QDir().mkpath(folder);
    fixtures::Mp3Recipe recipe;
    recipe.seconds = 300.0;
    recipe.bitrateKbps = 128;
    recipe.id3v2 = fixtures::Id3v2Fields{QStringLiteral("Bench"), QStringLiteral("Tunara"), {}, 1024};
    if (fixtures::writeMp3(folder + QStringLiteral("/tagged.mp3"), recipe).bytes.isEmpty()) {
        return 1;
    }
    recipe.xingTag = false;
    recipe.mode = fixtures::Mp3Recipe::Mode::Vbr;
    if (fixtures::writeMp3(folder + QStringLiteral("/untagged.mp3"), recipe).bytes.isEmpty()) {
        return 1;
    }
    // Two minutes of chords on four channels with drums: a fair load for a synthesizer.
    fixtures::MidiRecipe midi;
    midi.noteTracks = 3;
    const long long quarter = midi.ticksPerQuarter;
    const long long end = 240 * quarter;
    const int chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    for (long long t = 0; t < end; t += quarter) {
        const int* chord = chords[(t / (4 * quarter)) % 4];
        for (int i = 0; i < 3; ++i) {
            midi.notes.push_back({t, quarter * 9 / 10, chord[i], 90, 0, 0});
        }
        midi.notes.push_back({t, quarter / 2, chord[0] - 24, 100, 1, 1});
        midi.notes.push_back({t, quarter / 4, t % (2 * quarter) == 0 ? 36 : 38, 110, 9, 2});
        midi.notes.push_back({t + quarter / 2, quarter / 4, 42, 80, 9, 2});
    }
    midi.endOfTrackTick = end;
    return fixtures::writeMidi(folder + QStringLiteral("/song.mid"), midi).bytes.isEmpty() ? 1 : 0;
}

int open(const QString& file, const char* name) {
    AudioEngine::Options options;
    options.output = AudioEngine::Options::Output::Null;
    AudioEngine engine(options);
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
        const auto start = Clock::now();
        const bool ok = engine.setFileName(file) && engine.duration().has_value();
        const double elapsed = secondsSince(start);
        if (!ok) {
            return 1;
        }
        times.push_back(elapsed * 1000.0);
    }
    std::printf("%s %.3f ms\n", name, median(times));
    return 0;
}

int decode(const QString& file) {
    double best = 1e9;
    double seconds = 0;
    std::vector<float> block(2 * 4096);
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        QString error;
        auto decoder = Mp3Decoder::open(file, &error);
        if (!decoder) {
            return 1;
        }
        while (decoder->read(block.data(), 4096) > 0) {
        }
        best = std::min(best, secondsSince(start));
        seconds = double(decoder->lengthFrames()) / decoder->sampleRate();
    }
    std::printf("mp3_decode_x_realtime %.1f x\n", seconds / best);
    return 0;
}

int render(const QString& file, const QString& soundFont) {
    double best = 1e9;
    double seconds = 0;
    std::vector<float> block(2 * 4096);
    for (int round = 0; round < 3; ++round) {
        const auto start = Clock::now();
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            return 1;
        }
        auto song = smf::parse(f.readAll());
        QString error;
        auto synth = MidiSynth::create(soundFont, &error);
        if (!song || !synth) {
            return 1;
        }
        MidiDecoder decoder(std::move(*song), *synth);
        while (decoder.read(block.data(), 4096) > 0) {
        }
        best = std::min(best, secondsSince(start));
        seconds = double(decoder.lengthFrames()) / decoder.sampleRate();
    }
    std::printf("midi_render_x_realtime %.1f x\n", seconds / best);
    return 0;
}

int firstMidi(const QString& file) {
    AudioEngine::Options options;
    options.output = AudioEngine::Options::Output::Null;
    AudioEngine engine(options);
    const auto start = Clock::now();
    const bool ok = engine.setFileName(file) && engine.duration().has_value();
    const double elapsed = secondsSince(start);
    if (!ok) {
        return 1;
    }
    std::printf("midi_first_load_ms %.1f ms\n", elapsed * 1000.0);
    return 0;
}

int playCpu(const QString& file, double seconds) {
    AudioEngine::Options options;
    options.output = AudioEngine::Options::Output::Null;
    AudioEngine engine(options);
    if (!engine.setFileName(file) || !engine.play()) {
        return 1;
    }
    // Let the first fill of the ring pass; then measure the steady state.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const double cpuStart = cpuSeconds();
    const auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double cpu = cpuSeconds() - cpuStart;
    const double wall = secondsSince(start);
    if (!engine.isPlaying() || *engine.currentPosition() < seconds) {
        return 1;
    }
    std::printf("play_cpu_percent %.2f %%\n", 100.0 * cpu / wall);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString mode = args.value(1);
    int rc = 2;
    if (mode == QLatin1String("make") && args.size() == 3) {
        rc = make(args[2]);
    } else if (mode == QLatin1String("open") && args.size() == 4) {
        rc = open(args[2], argv[3]);
    } else if (mode == QLatin1String("decode") && args.size() == 3) {
        rc = decode(args[2]);
    } else if (mode == QLatin1String("render") && args.size() == 4) {
        rc = render(args[2], args[3]);
    } else if (mode == QLatin1String("first-midi") && args.size() == 3) {
        rc = firstMidi(args[2]);
    } else if (mode == QLatin1String("play-cpu") && args.size() == 4) {
        rc = playCpu(args[2], args[3].toDouble());
    }
    if (rc != 0) {
        std::fprintf(stderr, "engine_bench %s: failed (%d)\n", qPrintable(mode), rc);
    }
    return rc;
}
