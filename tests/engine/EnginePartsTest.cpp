// The engine's small parts on their own: gain arithmetic, the ring between decoder and output,
// the SoundFont search, the MP3 decoder's frame count.
#include "Fixtures.h"
#include "playback/engine/Gain.h"
#include "playback/engine/MidiSynth.h"
#include "playback/engine/Mp3Decoder.h"
#include "playback/engine/RingBuffer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

namespace {

double db(double amplitude) {
    return 20.0 * std::log10(amplitude);
}

TEST(Gain, VolumeIsHundredthsOfADecibelAndTheBottomMutes) {
    EXPECT_EQ(gain::volumeToAmplitude(0), 1.0f);
    EXPECT_EQ(gain::volumeToAmplitude(250), 1.0f); // never amplifies
    EXPECT_NEAR(db(gain::volumeToAmplitude(-750)), -7.5, 1e-4);
    EXPECT_NEAR(db(gain::volumeToAmplitude(-2000)), -20.0, 1e-4);
    EXPECT_NEAR(db(gain::volumeToAmplitude(-2499)), -24.99, 1e-4);
    EXPECT_EQ(gain::volumeToAmplitude(-2500), 0.0f);
    EXPECT_EQ(gain::volumeToAmplitude(-10000), 0.0f);
    // Each step down is quieter.
    for (int v = -2499; v < 0; v += 7) {
        EXPECT_LT(gain::volumeToAmplitude(v), gain::volumeToAmplitude(v + 7));
    }
}

TEST(Gain, BalanceAttenuatesTheOppositeChannel) {
    EXPECT_EQ(gain::balanceToGains(0), (gain::StereoGain{1.0f, 1.0f}));
    const gain::StereoGain right = gain::balanceToGains(1000);
    EXPECT_NEAR(db(right.left), -10.0, 1e-4);
    EXPECT_EQ(right.right, 1.0f);
    const gain::StereoGain left = gain::balanceToGains(-5000);
    EXPECT_EQ(left.left, 1.0f);
    EXPECT_NEAR(db(left.right), -50.0, 1e-3);
    EXPECT_EQ(gain::balanceToGains(9000), gain::balanceToGains(5000)); // clamped to the range
    EXPECT_EQ(gain::balanceToGains(-9000), gain::balanceToGains(-5000));

    const gain::StereoGain both = gain::combined(-600, 600);
    EXPECT_NEAR(db(both.left), -12.0, 1e-4);
    EXPECT_NEAR(db(both.right), -6.0, 1e-4);
    EXPECT_EQ(gain::combined(-2500, -5000), (gain::StereoGain{0.0f, 0.0f}));
}

TEST(Gain, ChangesGlideAcrossBlocks) {
    std::vector<float> block(2 * 100, 1.0f);
    // Half the ramp in this block: it ends halfway and says so.
    const gain::StereoGain reached = gain::applyRamped(block.data(), 100, {1.0f, 1.0f}, {0.0f, 0.5f}, 200);
    EXPECT_NEAR(reached.left, 0.5f, 1e-6);
    EXPECT_NEAR(reached.right, 0.75f, 1e-6);
    for (size_t i = 2; i < block.size(); i += 2) {
        EXPECT_LT(block[i], block[i - 2]); // falling, no jump
    }
    EXPECT_NEAR(block[198], 0.5f, 0.01f);
    // The next block continues from there and settles on the target.
    std::vector<float> next(2 * 300, 1.0f);
    const gain::StereoGain settled = gain::applyRamped(next.data(), 300, reached, {0.0f, 0.5f}, 200);
    EXPECT_EQ(settled, (gain::StereoGain{0.0f, 0.5f}));
    EXPECT_LT(next[0], 0.5f);
    EXPECT_EQ(next[2 * 250], 0.0f);
    EXPECT_EQ(next[2 * 250 + 1], 0.5f);
    // Unity without a change leaves the samples alone.
    std::vector<float> same = {0.25f, -0.5f};
    gain::applyRamped(same.data(), 1, {1.0f, 1.0f}, {1.0f, 1.0f}, 200);
    EXPECT_EQ(same, (std::vector<float>{0.25f, -0.5f}));
}

TEST(RingBuffer, WrapsAroundAndNeverOverfills) {
    RingBuffer ring(100);
    EXPECT_EQ(ring.capacityFrames(), 128u);
    std::vector<float> in(2 * 200);
    for (size_t i = 0; i < in.size(); ++i) {
        in[i] = float(i);
    }
    EXPECT_EQ(ring.write(in.data(), 200), 128u); // only what fits
    std::vector<float> out(2 * 200);
    EXPECT_EQ(ring.read(out.data(), 100), 100u);
    EXPECT_EQ(out[199], 199.0f);
    EXPECT_EQ(ring.writableFrames(), 100u);
    EXPECT_EQ(ring.write(in.data() + 2 * 128, 72), 72u); // across the end of the storage
    EXPECT_EQ(ring.readableFrames(), 100u);
    EXPECT_EQ(ring.read(out.data(), 200), 100u);
    for (size_t i = 0; i < 200; ++i) {
        EXPECT_EQ(out[i], float(200 + i)) << i;
    }
    EXPECT_EQ(ring.read(out.data(), 10), 0u);
    ring.reset();
    EXPECT_EQ(ring.writableFrames(), 128u);
}

TEST(RingBuffer, OneWriterAndOneReaderSeeEveryFrameInOrder) {
    RingBuffer ring(256);
    constexpr long kFrames = 100000;
    std::thread writer([&] {
        std::vector<float> block(2 * 97);
        long next = 0;
        while (next < kFrames) {
            const long n = std::min<long>(97, kFrames - next);
            for (long i = 0; i < n; ++i) {
                block[size_t(2 * i)] = float(next + i);
                block[size_t(2 * i + 1)] = -float(next + i);
            }
            size_t done = 0;
            while (done < size_t(n)) {
                done += ring.write(block.data() + 2 * done, size_t(n) - done);
            }
            next += n;
        }
    });
    std::vector<float> block(2 * 61);
    long expected = 0;
    bool inOrder = true;
    while (expected < kFrames) {
        const size_t n = ring.read(block.data(), 61);
        for (size_t i = 0; i < n; ++i) {
            inOrder = inOrder && block[2 * i] == float(expected) && block[2 * i + 1] == -float(expected);
            ++expected;
        }
    }
    writer.join();
    EXPECT_TRUE(inOrder);
}

TEST(SoundFontSearch, PreferredFirstThenAnySoundFontOfTheFolders) {
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a"));
    const QString b = dir.filePath(QStringLiteral("b"));
    ASSERT_TRUE(fixtures::writeFile(a + QStringLiteral("/zeta.sf2"), "x"));
    ASSERT_TRUE(fixtures::writeFile(a + QStringLiteral("/Alpha.SF2"), "x"));
    ASSERT_TRUE(fixtures::writeFile(a + QStringLiteral("/readme.txt"), "x"));
    ASSERT_TRUE(fixtures::writeFile(b + QStringLiteral("/default.sf2"), "x"));
    EXPECT_EQ(MidiSynth::findSoundFont({b + QStringLiteral("/default.sf2")}, {a}),
              b + QStringLiteral("/default.sf2"));
    EXPECT_EQ(MidiSynth::findSoundFont({b + QStringLiteral("/missing.sf2")}, {a, b}),
              a + QStringLiteral("/Alpha.SF2"));
    EXPECT_EQ(MidiSynth::findSoundFont({}, {dir.filePath(QStringLiteral("none")), b}),
              b + QStringLiteral("/default.sf2"));
    EXPECT_TRUE(MidiSynth::findSoundFont({}, {dir.filePath(QStringLiteral("none"))}).isEmpty());
}

TEST(SoundFontSearch, ABrokenSoundFontFailsWithAReason) {
    QTemporaryDir dir;
    const QString fake = dir.filePath(QStringLiteral("broken.sf2"));
    ASSERT_TRUE(fixtures::writeFile(fake, QByteArray("RIFF\x04\0\0\0sfbk", 12)));
    QString error;
    EXPECT_EQ(MidiSynth::create(fake, &error), nullptr);
    EXPECT_TRUE(error.contains(QStringLiteral("SoundFont")));
}

TEST(Mp3Decoder, DeliversExactlyItsLengthInStereo) {
    QTemporaryDir dir;
    fixtures::Mp3Recipe recipe;
    recipe.seconds = 1.1;
    recipe.channels = 1;
    recipe.sampleRate = 24000;
    recipe.bitrateKbps = 64;
    const QString path = dir.filePath(QStringLiteral("mono.mp3"));
    const fixtures::Song song = fixtures::writeMp3(path, recipe);
    QString error;
    const auto decoder = Mp3Decoder::open(path, &error);
    ASSERT_NE(decoder, nullptr) << error.toStdString();
    EXPECT_EQ(decoder->lengthFrames(), song.frames);
    EXPECT_EQ(decoder->channels(), 1);
    std::vector<float> block(2 * 1000);
    for (int pass = 0; pass < 2; ++pass) {
        long long total = 0;
        bool equal = true;
        while (const long n = decoder->read(block.data(), 1000)) {
            for (long i = 0; i < n; ++i) {
                equal = equal && block[size_t(2 * i)] == block[size_t(2 * i + 1)];
            }
            total += n;
        }
        EXPECT_EQ(total, song.frames) << "pass " << pass;
        EXPECT_TRUE(equal); // mono goes out as two equal channels
        ASSERT_TRUE(decoder->rewind());
    }
}

} // namespace
