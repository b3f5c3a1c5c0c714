#include "Fixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

namespace fixtures {
namespace {

void appendBigEndian(QByteArray& out, unsigned long long value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.append(char((value >> (8 * i)) & 0xff));
    }
}

QByteArray fixedField(const QByteArray& text, int width) {
    return text.left(width) + QByteArray(width - std::min<int>(width, int(text.size())), '\0');
}

QByteArray id3v2Tag(const Id3v2Fields& f) {
    QByteArray frames;
    const std::pair<const char*, QString> fields[] = {
        {"TIT2", f.title}, {"TPE1", f.artist}, {"TALB", f.album}};
    for (const auto& [id, text] : fields) {
        if (text.isEmpty()) {
            continue;
        }
        // UTF-16 little endian with byte order mark, zero-terminated.
        const QByteArray body = "\x01\xff\xfe" +
                                QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2) +
                                QByteArray(2, '\0');
        frames += id;
        appendBigEndian(frames, static_cast<unsigned long long>(body.size()), 4);
        frames += QByteArray(2, '\0') + body;
    }
    frames += QByteArray(std::max(0, f.paddingBytes), '\0');
    QByteArray tag("ID3\x03\x00\x00", 6);
    for (int shift = 21; shift >= 0; shift -= 7) { // "synchsafe" size: seven bits a byte
        tag += char((frames.size() >> shift) & 0x7f);
    }
    return tag + frames;
}

} // namespace

QByteArray id3v1Tag(const Id3v1Fields& f) {
    return "TAG" + fixedField(f.title, 30) + fixedField(f.artist, 30) + fixedField(f.album, 30) +
           fixedField(f.year, 4) + QByteArray(30, '\0') + char(std::clamp(f.genre, 0, 255));
}

Song makeMp3(const Mp3Recipe& recipe) {
    Song song;
    const long long frames = std::llround(recipe.seconds * recipe.sampleRate);
    lame_t lame = lame_init();
    lame_set_num_channels(lame, recipe.channels);
    lame_set_in_samplerate(lame, recipe.sampleRate);
    lame_set_out_samplerate(lame, recipe.sampleRate);
    lame_set_mode(lame, recipe.channels == 1 ? MONO : JOINT_STEREO);
    lame_set_quality(lame, 7);
    lame_set_bWriteVbrTag(lame, recipe.xingTag ? 1 : 0);
    const bool vbr = recipe.mode == Mp3Recipe::Mode::Vbr && !recipe.freeFormat;
    lame_set_VBR(lame, vbr ? vbr_mtrh : vbr_off);
    lame_set_VBR_q(lame, 4);
    if (!vbr) {
        lame_set_brate(lame, recipe.bitrateKbps);
    }
    lame_set_free_format(lame, recipe.freeFormat ? 1 : 0);
    bool ok = lame_init_params(lame) >= 0;

    QByteArray audio;
    constexpr int kBlock = 4096;
    std::vector<float> pcm(kBlock);
    std::vector<unsigned char> out(kBlock * 5 / 4 + 7200);
    const auto take = [&](int written) { // negative on failure
        ok = ok && written >= 0;
        audio.append(reinterpret_cast<const char*>(out.data()), std::max(0, written));
    };
    const double step = 2.0 * std::numbers::pi * 440.0 / recipe.sampleRate;
    for (long long done = 0; done < frames && ok; done += kBlock) {
        const int n = static_cast<int>(std::min<long long>(kBlock, frames - done));
        for (int i = 0; i < n; ++i) {
            pcm[size_t(i)] = static_cast<float>(0.5 * std::sin(step * double(done + i)));
        }
        take(lame_encode_buffer_ieee_float(lame, pcm.data(), pcm.data(), n, out.data(), int(out.size())));
    }
    if (ok) {
        take(lame_encode_flush(lame, out.data(), int(out.size())));
    }
    if (ok && recipe.xingTag) { // LAME left room for the Info frame at the start
        unsigned char tagFrame[4096];
        const size_t size = lame_get_lametag_frame(lame, tagFrame, sizeof tagFrame);
        ok = size > 0 && size <= sizeof tagFrame && qsizetype(size) <= audio.size();
        if (ok) {
            audio.replace(0, qsizetype(size),
                          QByteArray(reinterpret_cast<const char*>(tagFrame), qsizetype(size)));
        }
    }
    const long long mpegFrames = lame_get_frameNum(lame);
    lame_close(lame);
    if (!ok) {
        return song;
    }
    song.bytes = (recipe.id3v2 ? id3v2Tag(*recipe.id3v2) : QByteArray()) + audio +
                 (recipe.id3v1 ? id3v1Tag(*recipe.id3v1) : QByteArray());
    song.sampleRate = recipe.sampleRate;
    song.frames = recipe.xingTag ? frames : mpegFrames * (recipe.sampleRate >= 32000 ? 1152 : 576);
    song.durationSeconds = double(song.frames) / double(song.sampleRate);
    return song;
}

namespace {

struct Event {
    long long tick;
    int order; // at equal ticks: meta first, then note-offs, then note-ons
    QByteArray bytes;
};

QByteArray trackChunk(std::vector<Event> events, long long endTick) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return std::tie(a.tick, a.order) < std::tie(b.tick, b.order);
    });
    events.push_back(
        {std::max(events.empty() ? 0 : events.back().tick, endTick), 9, QByteArray("\xff\x2f\x00", 3)});
    QByteArray body;
    long long now = 0;
    char status = 0;
    for (const Event& e : events) {
        unsigned long long delta = static_cast<unsigned long long>(e.tick - now);
        QByteArray varLength(1, char(delta & 0x7f));
        while ((delta >>= 7) != 0) {
            varLength.prepend(char(0x80 | (delta & 0x7f)));
        }
        body += varLength;
        now = e.tick;
        body += e.bytes[0] == status ? e.bytes.mid(1) : e.bytes;
        status = e.bytes[0] == '\xff' ? 0 : e.bytes[0]; // meta events cancel running status
    }
    QByteArray chunk("MTrk");
    appendBigEndian(chunk, static_cast<unsigned long long>(body.size()), 4);
    return chunk + body;
}

} // namespace

Song makeMidi(const MidiRecipe& recipe) {
    const bool smpte = recipe.smpteFramesPerSecond != 0;
    const int noteTracks = recipe.format == 0 ? 1 : recipe.noteTracks;
    std::vector<Event> tempoTrack;
    long long lastTick = std::max(0LL, recipe.endOfTrackTick);
    for (const MidiTempo& t : recipe.tempos) {
        QByteArray meta("\xff\x51\x03", 3);
        appendBigEndian(meta, static_cast<unsigned long long>(t.microsecondsPerQuarter), 3);
        tempoTrack.push_back({t.tick, 0, meta});
        lastTick = std::max(lastTick, t.tick);
    }
    std::vector<std::vector<Event>> tracks(static_cast<size_t>(noteTracks));
    for (const MidiNote& n : recipe.notes) {
        auto& list = tracks[recipe.format == 0 ? 0 : static_cast<size_t>(n.track)];
        const char on = char(0x90 | (n.channel & 0x0f));
        list.push_back({n.startTick + n.lengthTicks, 1, QByteArray() + on + char(n.key) + '\0'});
        list.push_back({n.startTick, 2, QByteArray() + on + char(n.key) + char(n.velocity)});
        lastTick = std::max(lastTick, n.startTick + n.lengthTicks);
    }

    Song song;
    song.bytes = QByteArray("MThd\0\0\0\x06\0", 9) + char(recipe.format) + '\0' +
                 char(recipe.format == 0 ? 1 : noteTracks + 1);
    const int division =
        smpte ? (256 - recipe.smpteFramesPerSecond) << 8 | recipe.ticksPerFrame : recipe.ticksPerQuarter;
    appendBigEndian(song.bytes, static_cast<unsigned long long>(division), 2);
    if (recipe.format == 0) {
        tracks[0].insert(tracks[0].end(), tempoTrack.begin(), tempoTrack.end());
    } else {
        song.bytes += trackChunk(tempoTrack, recipe.endOfTrackTick);
    }
    for (const auto& list : tracks) {
        song.bytes += trackChunk(list, recipe.endOfTrackTick);
    }

    long double seconds = 0;
    if (smpte) {
        const long double fps =
            recipe.smpteFramesPerSecond == 29 ? 30000.0L / 1001.0L : recipe.smpteFramesPerSecond;
        seconds = lastTick / (fps * recipe.ticksPerFrame);
    } else {
        std::vector<MidiTempo> tempos = recipe.tempos;
        std::stable_sort(tempos.begin(), tempos.end(),
                         [](const auto& a, const auto& b) { return a.tick < b.tick; });
        tempos.push_back({lastTick, 0});
        long long tick = 0;
        int tempo = 500000;
        for (const MidiTempo& t : tempos) {
            const long long until = std::min(t.tick, lastTick);
            seconds += static_cast<long double>(until - tick) * tempo / (1.0e6L * recipe.ticksPerQuarter);
            tick = until;
            tempo = t.microsecondsPerQuarter;
        }
    }
    song.sampleRate = 44100;
    song.frames = std::llround(seconds * song.sampleRate);
    song.durationSeconds = double(song.frames) / double(song.sampleRate);
    return song;
}

MidiRecipe midiSong(double seconds, bool withTempoChange) {
    MidiRecipe recipe;
    const long long ticks = std::llround(seconds * 2 * recipe.ticksPerQuarter);
    const long long step = recipe.ticksPerQuarter;
    const int keys[] = {60, 64, 67, 72};
    for (long long t = 0; t + step <= ticks; t += step) {
        recipe.notes.push_back({t, step * 3 / 4, keys[(t / step) % 4], 100, 0, 0});
    }
    recipe.endOfTrackTick = ticks;
    if (withTempoChange) {
        recipe.tempos.push_back({ticks / 2, 666667});
    }
    return recipe;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) &&
           file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() &&
           file.flush();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

Song writeMp3(const QString& path, const Mp3Recipe& recipe) {
    Song song = makeMp3(recipe);
    song.bytes = writeFile(path, song.bytes) ? song.bytes : QByteArray();
    return song;
}

Song writeMidi(const QString& path, const MidiRecipe& recipe) {
    Song song = makeMidi(recipe);
    song.bytes = writeFile(path, song.bytes) ? song.bytes : QByteArray();
    return song;
}

QStringList rowTexts(const QAbstractItemModel& model, const QModelIndex& parent) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        texts << model.index(row, 0, parent).data().toString();
    }
    return texts;
}

} // namespace fixtures
