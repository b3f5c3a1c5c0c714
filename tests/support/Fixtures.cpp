#include "Fixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace fixtures {
namespace {

constexpr int kMidiRenderRate = 44100;

void appendBigEndian(QByteArray& out, unsigned long long value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.append(char((value >> (8 * i)) & 0xff));
    }
}

QByteArray fixedField(const QByteArray& text, int width) {
    QByteArray field = text.left(width);
    field.append(QByteArray(width - field.size(), '\0'));
    return field;
}

QByteArray id3v1Tag(const Id3v1Fields& f) {
    QByteArray tag("TAG");
    tag += fixedField(f.title, 30);
    tag += fixedField(f.artist, 30);
    tag += fixedField(f.album, 30);
    tag += fixedField(f.year, 4);
    if (f.track >= 1 && f.track <= 255) {
        tag += fixedField(f.comment, 28);
        tag.append('\0');
        tag.append(char(f.track));
    } else {
        tag += fixedField(f.comment, 30);
    }
    tag.append(char(std::clamp(f.genre, 0, 255)));
    return tag;
}

QByteArray id3v2TextFrame(const char* id, const QString& text) {
    QByteArray body;
    body.append('\x01'); // UTF-16 with byte order mark
    body.append('\xff');
    body.append('\xfe');
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        body.append(char(u & 0xff));
        body.append(char(u >> 8));
    }
    body.append('\0');
    body.append('\0');
    QByteArray frame(id, 4);
    appendBigEndian(frame, static_cast<unsigned long long>(body.size()), 4);
    frame.append('\0');
    frame.append('\0');
    return frame + body;
}

QByteArray id3v2Tag(const Id3v2Fields& f) {
    QByteArray frames;
    if (!f.title.isEmpty()) {
        frames += id3v2TextFrame("TIT2", f.title);
    }
    if (!f.artist.isEmpty()) {
        frames += id3v2TextFrame("TPE1", f.artist);
    }
    if (!f.album.isEmpty()) {
        frames += id3v2TextFrame("TALB", f.album);
    }
    frames.append(QByteArray(std::max(0, f.paddingBytes), '\0'));
    QByteArray tag("ID3\x03\x00\x00", 6);
    const auto size = static_cast<unsigned>(frames.size());
    // The tag size is "synchsafe": seven bits per byte.
    tag.append(char((size >> 21) & 0x7f));
    tag.append(char((size >> 14) & 0x7f));
    tag.append(char((size >> 7) & 0x7f));
    tag.append(char(size & 0x7f));
    return tag + frames;
}

} // namespace

Song makeMp3(const Mp3Recipe& recipe) {
    Song song;
    const int channels = recipe.channels == 1 ? 1 : 2;
    const auto frames = static_cast<long long>(std::llround(recipe.seconds * recipe.sampleRate));
    lame_t lame = lame_init();
    if (lame == nullptr) {
        return song;
    }
    lame_set_num_channels(lame, channels);
    lame_set_in_samplerate(lame, recipe.sampleRate);
    lame_set_out_samplerate(lame, recipe.sampleRate);
    lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
    lame_set_quality(lame, 7);
    lame_set_bWriteVbrTag(lame, recipe.xingTag ? 1 : 0);
    if (recipe.mode == Mp3Recipe::Mode::Vbr && !recipe.freeFormat) {
        lame_set_VBR(lame, vbr_mtrh);
        lame_set_VBR_q(lame, std::clamp(recipe.vbrQuality, 0, 9));
    } else {
        lame_set_VBR(lame, vbr_off);
        lame_set_brate(lame, recipe.bitrateKbps);
        if (recipe.freeFormat) {
            lame_set_free_format(lame, 1);
        }
    }
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return song;
    }

    QByteArray audio;
    constexpr int kBlock = 4096;
    std::vector<float> left(kBlock);
    std::vector<float> right(kBlock);
    std::vector<unsigned char> out(static_cast<size_t>(kBlock * 5 / 4 + 7200));
    const double step = 2.0 * std::numbers::pi * recipe.toneHz / recipe.sampleRate;
    bool ok = true;
    for (long long done = 0; done < frames && ok;) {
        const int n = static_cast<int>(std::min<long long>(kBlock, frames - done));
        for (int i = 0; i < n; ++i) {
            const auto v = static_cast<float>(recipe.amplitude * std::sin(step * double(done + i)));
            left[static_cast<size_t>(i)] = v;
            right[static_cast<size_t>(i)] = v;
        }
        const int written = lame_encode_buffer_ieee_float(lame, left.data(), right.data(), n, out.data(),
                                                          static_cast<int>(out.size()));
        ok = written >= 0;
        if (ok) {
            audio.append(reinterpret_cast<const char*>(out.data()), written);
        }
        done += n;
    }
    if (ok) {
        const int written = lame_encode_flush(lame, out.data(), static_cast<int>(out.size()));
        ok = written >= 0;
        if (ok) {
            audio.append(reinterpret_cast<const char*>(out.data()), written);
        }
    }
    if (ok && recipe.xingTag) {
        // LAME left room for the Info frame at the start; fill it in now that the counts are known.
        unsigned char tagFrame[4096];
        const size_t size = lame_get_lametag_frame(lame, tagFrame, sizeof tagFrame);
        ok = size > 0 && size <= sizeof tagFrame && size <= static_cast<size_t>(audio.size());
        if (ok) {
            audio.replace(0, static_cast<qsizetype>(size),
                          QByteArray(reinterpret_cast<const char*>(tagFrame), static_cast<qsizetype>(size)));
        }
    }
    const int mpegFrames = lame_get_frameNum(lame);
    const int samplesPerFrame = recipe.sampleRate >= 32000 ? 1152 : 576;
    lame_close(lame);
    if (!ok) {
        return song;
    }

    if (recipe.id3v2) {
        song.bytes += id3v2Tag(*recipe.id3v2);
    }
    song.bytes += audio;
    if (recipe.id3v1) {
        song.bytes += id3v1Tag(*recipe.id3v1);
    }
    song.sampleRate = recipe.sampleRate;
    song.frames = recipe.xingTag ? frames : static_cast<long long>(mpegFrames) * samplesPerFrame;
    song.durationSeconds = double(song.frames) / double(song.sampleRate);
    return song;
}

namespace {

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values) {
        out.append(char(v & 0xff));
    }
    return out;
}

struct Event {
    long long tick;
    int order;        // at equal ticks: meta first, then note-offs, then the rest
    QByteArray bytes; // status byte included (a meta event starts with 0xff)
};

void appendVariableLength(QByteArray& out, unsigned long long value) {
    unsigned char buf[10];
    int n = 0;
    buf[n++] = static_cast<unsigned char>(value & 0x7f);
    while ((value >>= 7) != 0) {
        buf[n++] = static_cast<unsigned char>(0x80 | (value & 0x7f));
    }
    while (n > 0) {
        out.append(char(buf[--n]));
    }
}

QByteArray trackChunk(std::vector<Event> events, long long endTick, bool runningStatus) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    long long last = events.empty() ? 0 : events.back().tick;
    events.push_back({std::max(last, endTick), 9, QByteArray("\xff\x2f\x00", 3)});
    QByteArray body;
    long long now = 0;
    int status = -1;
    for (const Event& e : events) {
        appendVariableLength(body, static_cast<unsigned long long>(e.tick - now));
        now = e.tick;
        const auto first = static_cast<unsigned char>(e.bytes[0]);
        if (first >= 0xf0) {
            status = -1; // meta and system events cancel running status
            body += e.bytes;
        } else if (runningStatus && first == status) {
            body += e.bytes.mid(1);
        } else {
            status = first;
            body += e.bytes;
        }
    }
    QByteArray chunk("MTrk");
    appendBigEndian(chunk, static_cast<unsigned long long>(body.size()), 4);
    return chunk + body;
}

} // namespace

Song makeMidi(const MidiRecipe& recipe) {
    Song song;
    const bool smpte = recipe.smpteFramesPerSecond != 0;
    const int format = recipe.format == 0 ? 0 : 1;
    const int noteTracks = format == 0 ? 1 : std::max(1, recipe.noteTracks);

    std::vector<Event> tempoTrack;
    for (const MidiTempo& t : recipe.tempos) {
        QByteArray meta("\xff\x51\x03", 3);
        appendBigEndian(meta, static_cast<unsigned long long>(t.microsecondsPerQuarter), 3);
        tempoTrack.push_back({t.tick, 0, meta});
    }
    std::vector<std::vector<Event>> tracks(static_cast<size_t>(noteTracks));
    std::map<int, std::vector<int>> channelsPerTrack;
    for (const MidiNote& n : recipe.notes) {
        const int track = format == 0 ? 0 : std::clamp(n.track, 0, noteTracks - 1);
        const int channel = n.channel & 0x0f;
        auto& list = tracks[static_cast<size_t>(track)];
        if (recipe.runningStatus) {
            list.push_back({n.startTick + n.lengthTicks, 1, bytesOf({0x90 | channel, n.key, 0})});
        } else {
            list.push_back({n.startTick + n.lengthTicks, 1, bytesOf({0x80 | channel, n.key, 64})});
        }
        list.push_back({n.startTick, 2, bytesOf({0x90 | channel, n.key, n.velocity})});
        auto& used = channelsPerTrack[track];
        if (std::find(used.begin(), used.end(), n.channel & 0x0f) == used.end()) {
            used.push_back(n.channel & 0x0f);
        }
    }
    for (const auto& [track, channels] : channelsPerTrack) {
        for (const int c : channels) {
            tracks[static_cast<size_t>(track)].push_back({0, 0, bytesOf({0xc0 | c, recipe.program & 0x7f})});
        }
    }

    QByteArray file("MThd\0\0\0\x06", 8);
    appendBigEndian(file, static_cast<unsigned long long>(format), 2);
    appendBigEndian(file, static_cast<unsigned long long>(format == 0 ? 1 : noteTracks + 1), 2);
    if (smpte) {
        file.append(char(-recipe.smpteFramesPerSecond));
        file.append(char(recipe.ticksPerFrame));
    } else {
        appendBigEndian(file, static_cast<unsigned long long>(recipe.ticksPerQuarter), 2);
    }
    const long long endTick = recipe.endOfTrackTick;
    long long lastTick = std::max(0LL, endTick);
    for (const auto& list : tracks) {
        for (const Event& e : list) {
            lastTick = std::max(lastTick, e.tick);
        }
    }
    for (const Event& e : tempoTrack) {
        lastTick = std::max(lastTick, e.tick);
    }
    if (format == 0) {
        std::vector<Event> all = tempoTrack;
        all.insert(all.end(), tracks[0].begin(), tracks[0].end());
        file += trackChunk(all, endTick, recipe.runningStatus);
    } else {
        file += trackChunk(tempoTrack, endTick, recipe.runningStatus);
        for (const auto& list : tracks) {
            file += trackChunk(list, endTick, recipe.runningStatus);
        }
    }

    // The length: time of the last event, through the tempo map.
    long double seconds = 0;
    if (smpte) {
        const long double framesPerSecond = recipe.smpteFramesPerSecond == 29
                                                ? 30000.0L / 1001.0L
                                                : static_cast<long double>(recipe.smpteFramesPerSecond);
        seconds = static_cast<long double>(lastTick) / (framesPerSecond * recipe.ticksPerFrame);
    } else {
        std::vector<MidiTempo> tempos = recipe.tempos;
        std::stable_sort(tempos.begin(), tempos.end(),
                         [](const MidiTempo& a, const MidiTempo& b) { return a.tick < b.tick; });
        long long tick = 0;
        int tempo = 500000;
        for (const MidiTempo& t : tempos) {
            if (t.tick >= lastTick) {
                break;
            }
            seconds += static_cast<long double>(t.tick - tick) * tempo / (1.0e6L * recipe.ticksPerQuarter);
            tick = t.tick;
            tempo = t.microsecondsPerQuarter;
        }
        seconds += static_cast<long double>(lastTick - tick) * tempo / (1.0e6L * recipe.ticksPerQuarter);
    }
    song.bytes = file;
    song.sampleRate = kMidiRenderRate;
    song.frames = std::llround(seconds * kMidiRenderRate);
    song.durationSeconds = double(song.frames) / double(kMidiRenderRate);
    return song;
}

MidiRecipe midiSong(double seconds, bool withTempoChange) {
    MidiRecipe recipe;
    const long long ticks = std::llround(seconds * 2 * recipe.ticksPerQuarter); // 120 bpm: 2 beats a second
    const long long step = recipe.ticksPerQuarter;                              // a note every half second
    const int keys[] = {60, 64, 67, 72};
    int i = 0;
    for (long long t = 0; t + step <= ticks; t += step, ++i) {
        recipe.notes.push_back({t, step * 3 / 4, keys[i % 4], 100, 0, 0});
    }
    recipe.endOfTrackTick = ticks;
    if (withTempoChange) {
        // 90 bpm for the second half (by ticks), which makes the song longer than `seconds`.
        recipe.tempos.push_back({ticks / 2, 666667});
    }
    return recipe;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return file.write(bytes) == bytes.size() && file.flush();
}

Song writeMp3(const QString& path, const Mp3Recipe& recipe) {
    Song song = makeMp3(recipe);
    if (song.bytes.isEmpty() || !writeFile(path, song.bytes)) {
        song.bytes.clear();
    }
    return song;
}

Song writeMidi(const QString& path, const MidiRecipe& recipe) {
    Song song = makeMidi(recipe);
    if (song.bytes.isEmpty() || !writeFile(path, song.bytes)) {
        song.bytes.clear();
    }
    return song;
}

} // namespace fixtures
