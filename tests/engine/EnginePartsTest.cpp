// The engine's small parts on their own: gains, the decoder-to-output ring, SoundFont search, MP3 decoder.
#include "Fixtures.h"
#include "playback/engine/Gain.h"
#include "playback/engine/MidiSynth.h"
#include "playback/engine/Mp3Decoder.h"
#include "playback/engine/RingBuffer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>
#include <vector>

namespace {

TEST(Gain, VolumeAndBalanceAreDecibelsAndTheBottomMutes) {
    // Volume and balance; the left and right gains in dB.
    const std::tuple<int, int, double, double> cases[] = {
        {0, 0, 0, 0},           {250, 0, 0, 0},     {-750, 0, -7.5, -7.5}, {-2499, 0, -24.99, -24.99},
        {0, 1000, -10, 0},      {0, -5000, 0, -50}, {0, 9000, -50, 0},     {-600, 600, -12, -6},
        {-2000, -100, -20, -21}};
    for (const auto& [volume, balance, left, right] : cases) {
        const playback::StereoGain g = playback::combinedGain(volume, balance);
        EXPECT_NEAR(20 * std::log10(g.left), left, 1e-3) << volume << " " << balance;
        EXPECT_NEAR(20 * std::log10(g.right), right, 1e-3) << volume << " " << balance;
    }
    EXPECT_EQ(playback::combinedGain(-2500, -5000), (playback::StereoGain{0.0f, 0.0f}));
    EXPECT_EQ(playback::volumeToAmplitude(-10000), 0.0f);
    for (int v = -2499; v < 0; v += 7) {
        EXPECT_LT(playback::volumeToAmplitude(v), playback::volumeToAmplitude(v + 7));
    }
}

TEST(Gain, ChangesGlideAcrossBlocks) {
    std::vector<float> block(2 * 100, 1.0f);
    const playback::StereoGain reached =
        playback::applyGainRamp(block.data(), 100, {1.0f, 1.0f}, {0.0f, 0.5f}, 200);
    EXPECT_NEAR(reached.left, 0.5f, 1e-6); // half the ramp in this block
    EXPECT_NEAR(reached.right, 0.75f, 1e-6);
    for (size_t i = 2; i < block.size(); i += 2) {
        EXPECT_LT(block[i], block[i - 2]); // falling, no jump
    }
    EXPECT_NEAR(block[198], 0.5f, 0.01f);
    std::vector<float> next(2 * 300, 1.0f);
    EXPECT_EQ(playback::applyGainRamp(next.data(), 300, reached, {0.0f, 0.5f}, 200),
              (playback::StereoGain{0.0f, 0.5f}));
    EXPECT_LT(next[0], 0.5f);
    EXPECT_EQ(std::pair(next[2 * 250], next[2 * 250 + 1]), std::pair(0.0f, 0.5f)); // there from then on
}

TEST(RingBuffer, WrapsAroundAndNeverOverfills) {
    RingBuffer small(100);
    std::vector<float> in(2 * 200);
    std::iota(in.begin(), in.end(), 0.0f);
    EXPECT_EQ(small.write(in.data(), 200), 128u); // only what fits
    std::vector<float> out(2 * 200);
    EXPECT_EQ(small.read(out.data(), 100), 100u);
    EXPECT_EQ(small.write(in.data() + 2 * 128, 72), 72u); // across the end of the storage
    EXPECT_EQ(small.read(out.data(), 200), 100u);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 200, in.begin() + 200));
    EXPECT_EQ(small.read(out.data(), 10), 0u);
}

TEST(SoundFontSearch, PreferredFirstThenAnyOfTheFoldersAndABrokenOneFailsWithAReason) {
    QTemporaryDir dir;
    const QString a = dir.filePath("a"), b = dir.filePath("b"), none = dir.filePath("none");
    for (const QString& f : {a + "/zeta.sf2", a + "/Alpha.SF2", a + "/readme.txt", b + "/default.sf2"}) {
        ASSERT_TRUE(fixtures::writeFile(f, "x"));
    }
    EXPECT_EQ(MidiSynth::findSoundFont({b + "/default.sf2"}, {a}), b + "/default.sf2");
    EXPECT_EQ(MidiSynth::findSoundFont({b + "/missing.sf2"}, {a, b}), a + "/Alpha.SF2");
    EXPECT_EQ(MidiSynth::findSoundFont({}, {none, b}), b + "/default.sf2");
    EXPECT_TRUE(MidiSynth::findSoundFont({}, {none}).isEmpty());

    ASSERT_TRUE(fixtures::writeFile(b + "/broken.sf2", QByteArray("RIFF\x04\0\0\0sfbk", 12)));
    QString error;
    EXPECT_EQ(MidiSynth::create(b + "/broken.sf2", &error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("SoundFont")));
}

TEST(Mp3Decoder, DeliversExactlyItsLengthAsTwoEqualChannels) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mono.mp3"));
    const fixtures::Song song =
        fixtures::writeMp3(path, {.seconds = 1.1, .sampleRate = 24000, .channels = 1, .bitrateKbps = 64});
    QString error;
    const auto decoder = Mp3Decoder::open(path, &error);
    ASSERT_NE(decoder, nullptr) << error.toStdString();
    EXPECT_EQ(std::pair(decoder->lengthFrames(), decoder->channels()), std::pair(song.frames, 1));
    std::vector<float> block(2 * 1000);
    long long total = 0;
    while (const long n = decoder->read(block.data(), 1000)) {
        for (long i = 0; i < n; ++i) {
            ASSERT_EQ(block[size_t(2 * i)], block[size_t(2 * i + 1)]) << total + i;
        }
        total += n;
    }
    EXPECT_EQ(total, song.frames);
}

} // namespace
