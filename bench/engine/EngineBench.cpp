// Timing program for the audio engine; bench/engine/run.sh drives it and runs the command-line
// anchors beside it. Every measurement prints one line "name value unit".
//
//   engine_bench make <folder>               writes the bench songs into the folder
//   engine_bench open <file> <name>          median time of setFileName + duration over 30 loads
//   engine_bench decode <file>               MP3 decoded in memory: times real time (best of 3)
//   engine_bench render <file> <soundfont>   MIDI rendered in memory, SoundFont load included
//   engine_bench first-midi <file>           first MIDI load of a fresh engine, default SoundFont
//   engine_bench play-cpu <file> <seconds>   CPU share of one core while playing in real time
//   engine_bench make-dense <file>           writes 10.8 million running-status note events
//   engine_bench dense-load <file> <font>    time and peak memory of loading that file
#include "Fixtures.h"
#include "playback/AudioEngine.h"
#include "playback/engine/MidiDecoder.h"
#include "playback/engine/MidiSynth.h"
#include "playback/engine/Mp3Decoder.h"
#include "playback/engine/SmfParser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
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
        auto song = playback::parseSmf(f.readAll());
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

// A MIDI file as dense as the reader takes (just under its 32 MB cap): one track of notes, one
// tick apart, every event after the first by running status in three bytes.
int makeDense(const QString& path) {
    constexpr long long kEvents = 10'800'000;
    QByteArray body("\x00\x90\x3c\x64", 4);
    body.reserve(static_cast<qsizetype>(3 * kEvents + 8));
    for (long long i = 1; i < kEvents; ++i) {
        const char key = char(48 + (i / 2) % 36);
        body.append('\x01').append(key).append(i % 2 ? '\0' : '\x64');
    }
    body.append("\x00\xff\x2f\x00", 4);
    QByteArray file("MThd\0\0\0\x06\0\0\0\x01\x01\xe0MTrk", 18);
    const auto n = static_cast<unsigned>(body.size());
    file.append(char(n >> 24)).append(char(n >> 16)).append(char(n >> 8)).append(char(n));
    return fixtures::writeFile(path, file + body) ? 0 : 1;
}

// Resident and peak resident kilobytes of this process.
long long statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stoll(line.substr(std::string(field).size()));
        }
    }
    return -1;
}

// The load as the user meets it: setFileName on an engine whose SoundFont is already in (a small
// song loaded first), so the figure is the dense file's own. Peak: the highest resident size
// during the load, above the resident size before it. The CPU time beside the wall time tells
// work from waiting for a busy machine.
int denseLoad(const QString& file, const QString& soundFont, const QString& warmup) {
    AudioEngine::Options options;
    options.output = AudioEngine::Options::Output::Null;
    options.soundFontPath = soundFont;
    AudioEngine engine(options);
    if (!engine.setFileName(warmup)) {
        return 1;
    }
    std::ofstream("/proc/self/clear_refs") << "5"; // the peak starts again from here
    const long long before = statusKilobytes("VmRSS:");
    const double cpuStart = cpuSeconds();
    const auto start = Clock::now();
    const bool ok = engine.setFileName(file) && engine.duration().has_value();
    const double elapsed = secondsSince(start);
    const double cpu = cpuSeconds() - cpuStart;
    const long long peak = statusKilobytes("VmHWM:");
    if (!ok || before < 0 || peak < 0) {
        return 1;
    }
    const double fileMb = double(QFileInfo(file).size()) / 1048576.0;
    const double peakMb = double(peak - before) / 1024.0;
    std::printf("midi_dense_load_ms %.0f ms\n", elapsed * 1000.0);
    std::printf("midi_dense_load_cpu_ms %.0f ms\n", cpu * 1000.0);
    std::printf("midi_dense_peak_mb %.1f MB\n", peakMb);
    std::printf("midi_dense_file_mb %.1f MB\n", fileMb);
    std::printf("midi_dense_peak_vs_file %.2f ratio\n", peakMb / fileMb);
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
    } else if (mode == QLatin1String("make-dense") && args.size() == 3) {
        rc = makeDense(args[2]);
    } else if (mode == QLatin1String("dense-load") && args.size() == 5) {
        rc = denseLoad(args[2], args[3], args[4]);
    }
    if (rc != 0) {
        std::fprintf(stderr, "engine_bench %s: failed (%d)\n", qPrintable(mode), rc);
    }
    return rc;
}
