#include "playback/engine/SmfParser.h"

#include "playback/engine/SmfTrackCursor.h"

#include <QByteArrayView>

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <queue>

namespace playback {
namespace {

constexpr int kDefaultTempo = 500000; // microseconds per quarter note: 120 beats per minute
// A packed system exclusive message keeps its index in 24 bits.
constexpr size_t kMaxSysexEvents = size_t(1) << 24;

uint32_t be32(const unsigned char* u) {
    return (uint32_t(u[0]) << 24) | (uint32_t(u[1]) << 16) | (uint32_t(u[2]) << 8) | uint32_t(u[3]);
}
uint32_t le32(const unsigned char* u) {
    return (uint32_t(u[3]) << 24) | (uint32_t(u[2]) << 16) | (uint32_t(u[1]) << 8) | uint32_t(u[0]);
}
int be16(const unsigned char* u) {
    return (int(u[0]) << 8) | int(u[1]);
}

struct TrackChunk {
    const unsigned char* begin;
    const unsigned char* end;
    bool cutShort; // the chunk claims more bytes than the file holds
};

// Hands `keep` the events of all tracks in order of time; at equal times the earlier track's
// first, and within a track in their own order.
template <typename Keep> void mergeTracks(const std::vector<TrackChunk>& chunks, Keep&& keep) {
    struct Head {
        SmfTrackEvent event;
        size_t track;
    };
    const auto later = [](const Head& a, const Head& b) {
        return a.event.tick != b.event.tick ? a.event.tick > b.event.tick : a.track > b.track;
    };
    std::vector<SmfTrackCursor> cursors;
    cursors.reserve(chunks.size());
    std::priority_queue<Head, std::vector<Head>, decltype(later)> heads(later);
    for (const TrackChunk& c : chunks) {
        cursors.emplace_back(c.begin, c.end, c.cutShort);
        Head head{{}, cursors.size() - 1};
        if (cursors.back().next(head.event, nullptr)) {
            heads.push(head);
        }
    }
    while (!heads.empty()) {
        Head head = heads.top();
        heads.pop();
        // A track goes on for as long as it stays first: a single track never waits on the queue.
        do {
            keep(head.event);
            if (!cursors[head.track].next(head.event, nullptr)) {
                break;
            }
            if (!heads.empty() && later(head, heads.top())) {
                heads.push(head);
                break;
            }
        } while (true);
    }
}

// Seconds from the start of a tempo map (sorted by tick) to each tick asked for in order. A tick
// lasts `unitsPerQuarter / unitsPerSecond` seconds, where the tempo map changes the first:
// microseconds per quarter over a million times the ticks per quarter; SMPTE has one second over
// its ticks per second and no tempo changes.
class TempoClock {
public:
    TempoClock(const std::vector<SmfTempoChange>& tempos, long double unitsPerTick,
               long double unitsPerSecond)
        : m_tempos(tempos), m_unitsPerSecond(unitsPerSecond) {
        setUnits(unitsPerTick);
    }

    // Exact (one division); ticks must not go backwards between calls.
    long double secondsAt(long long tick) {
        advance(tick);
        return m_segmentSeconds +
               static_cast<long double>(tick - m_segmentTick) * m_unitsPerTick / m_unitsPerSecond;
    }
    // To a double's precision, for the millions of event times: no division.
    double eventSecondsAt(long long tick) {
        advance(tick);
        return static_cast<double>(m_segmentSeconds +
                                   static_cast<long double>(tick - m_segmentTick) * m_secondsPerTick);
    }

private:
    void advance(long long tick) {
        while (m_next < m_tempos.size() && m_tempos[m_next].tick <= tick) {
            const SmfTempoChange& t = m_tempos[m_next++];
            m_segmentSeconds +=
                static_cast<long double>(t.tick - m_segmentTick) * m_unitsPerTick / m_unitsPerSecond;
            m_segmentTick = t.tick;
            setUnits(t.microsecondsPerQuarter);
        }
    }
    void setUnits(long double unitsPerTick) {
        m_unitsPerTick = unitsPerTick;
        m_secondsPerTick = unitsPerTick / m_unitsPerSecond;
    }

    const std::vector<SmfTempoChange>& m_tempos;
    const long double m_unitsPerSecond;
    long double m_unitsPerTick = 0;
    long double m_secondsPerTick = 0;
    size_t m_next = 0;
    long long m_segmentTick = 0;
    long double m_segmentSeconds = 0;
};

// A dense song fills fresh memory page by page; on large pages (where the system gives them on
// request) that is a few dozen page faults instead of tens of thousands. Only a hint.
template <typename T> void preferLargePages(const std::vector<T>& v) {
    constexpr uintptr_t kLargePage = uintptr_t(2) << 20;
    const auto begin = reinterpret_cast<uintptr_t>(v.data());
    const uintptr_t from = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t to = (begin + v.capacity() * sizeof(T)) & ~(kLargePage - 1);
    if (to > from) {
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
    }
}

void sortByTick(std::vector<SmfTempoChange>& tempos) {
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const SmfTempoChange& a, const SmfTempoChange& b) { return a.tick < b.tick; });
}

std::nullopt_t fail(QString* error, const QString& reason) {
    if (error != nullptr) {
        *error = reason;
    }
    return std::nullopt;
}

// The SMF inside a RIFF RMID file, or the bytes themselves; no copy either way.
QByteArrayView unwrapRiff(QByteArrayView bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.sliced(8, 4) != "RMID") {
        return bytes;
    }
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const qsizetype length = le32(reinterpret_cast<const unsigned char*>(bytes.data()) + pos + 4);
        if (bytes.sliced(pos, 4) == "data") {
            return bytes.sliced(pos + 8, std::min(length, bytes.size() - pos - 8));
        }
        pos += 8 + length + (length & 1);
    }
    return {};
}

} // namespace

SmfEvent SmfSong::event(size_t index) const {
    SmfEvent e;
    e.seconds = times[index];
    const uint32_t m = messages[index];
    e.status = static_cast<uint8_t>(m);
    if (e.status == 0xf0) {
        e.sysexOffset = sysexSpans[m >> 8].offset;
        e.sysexLength = sysexSpans[m >> 8].length;
    } else {
        e.data1 = static_cast<uint8_t>(m >> 8);
        e.data2 = static_cast<uint8_t>(m >> 16);
    }
    return e;
}

bool looksLikeMidi(const QByteArray& head) {
    return head.startsWith("MThd") || (head.startsWith("RIFF") && head.mid(8, 4) == "RMID");
}

std::optional<SmfSong> parseSmf(const QByteArray& fileBytes, QString* error) {
    const QByteArrayView bytes = unwrapRiff(fileBytes);
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto size = static_cast<long long>(bytes.size());
    if (size < 14 || !bytes.startsWith("MThd")) {
        return fail(error, QStringLiteral("geen MIDI-bestand"));
    }
    const long long headerLength = be32(data + 4);
    SmfSong song;
    song.format = be16(data + 8);
    const int division = be16(data + 12);
    if (headerLength < 6 || 8 + headerLength > size || song.format > 2 || division == 0) {
        return fail(error, QStringLiteral("beschadigde MIDI-kop"));
    }
    if (division & 0x8000) {
        song.smpte = true;
        song.framesPerSecond = -static_cast<signed char>(division >> 8);
        song.ticksPerFrame = division & 0xff;
        const int fps = song.framesPerSecond;
        if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || song.ticksPerFrame == 0) {
            return fail(error, QStringLiteral("onbekende SMPTE-tijdverdeling"));
        }
    } else {
        song.ticksPerQuarter = division;
    }

    std::vector<TrackChunk> chunks;
    for (long long pos = 8 + headerLength; pos + 8 <= size;) {
        const long long length = be32(data + pos + 4);
        const long long bodyStart = pos + 8;
        if (bytes.sliced(pos, 4) == "MTrk") {
            chunks.push_back(
                {data + bodyStart, data + std::min(size, bodyStart + length), bodyStart + length > size});
        }
        pos = bodyStart + length;
    }
    if (chunks.empty()) {
        return fail(error, QStringLiteral("MIDI-bestand zonder tracks"));
    }
    song.tracks = static_cast<int>(chunks.size());

    // First walk: how much there is to keep, the tempo maps and where each track ends.
    std::vector<std::vector<SmfTempoChange>> tempos(chunks.size());
    std::vector<long long> endTicks(chunks.size());
    size_t events = 0;
    size_t sysexEvents = 0;
    size_t sysexBytes = 0;
    bool anyNote = false;
    for (size_t i = 0; i < chunks.size(); ++i) {
        SmfTrackCursor cursor(chunks[i].begin, chunks[i].end, chunks[i].cutShort);
        SmfTrackEvent e;
        while (cursor.next(e, &tempos[i])) {
            ++events;
            sysexEvents += e.sysex != nullptr ? 1 : 0;
            sysexBytes += e.sysexLength;
            anyNote = anyNote || ((e.message & 0xf0) == 0x90 && (e.message >> 16) != 0);
        }
        endTicks[i] = cursor.endTick();
        song.truncated = song.truncated || cursor.truncated();
    }
    if (sysexEvents >= kMaxSysexEvents || sysexBytes > UINT32_MAX) {
        return fail(error, QStringLiteral("MIDI-bestand met te veel systeemberichten"));
    }

    // Second walk: the events kept once, in playing order, with their times.
    song.times.reserve(events);
    song.messages.reserve(events);
    preferLargePages(song.times);
    preferLargePages(song.messages);
    song.sysexSpans.reserve(sysexEvents);
    song.sysex.reserve(sysexBytes);
    const auto keep = [&song](const SmfTrackEvent& e, double seconds) {
        song.times.push_back(seconds);
        if (e.sysex == nullptr) {
            song.messages.push_back(e.message);
            return;
        }
        song.messages.push_back(0xf0 | static_cast<uint32_t>(song.sysexSpans.size()) << 8);
        song.sysexSpans.push_back({static_cast<uint32_t>(song.sysex.size()), e.sysexLength});
        song.sysex.insert(song.sysex.end(), e.sysex, e.sysex + e.sysexLength);
    };
    const std::vector<SmfTempoChange> none;
    const auto clockFor = [&song, &none](const std::vector<SmfTempoChange>& map) {
        if (!song.smpte) {
            return TempoClock(map, kDefaultTempo, 1.0e6L * song.ticksPerQuarter);
        }
        const long double fps = song.framesPerSecond == 29 ? 30000.0L / 1001.0L : song.framesPerSecond;
        return TempoClock(none, 1.0L, fps * song.ticksPerFrame);
    };
    if (song.format == 2) {
        // Independent sequences, one after the other, each with its own tempo map.
        long double offset = 0;
        for (size_t i = 0; i < chunks.size(); ++i) {
            sortByTick(tempos[i]);
            TempoClock clock = clockFor(tempos[i]);
            SmfTrackCursor cursor(chunks[i].begin, chunks[i].end, chunks[i].cutShort);
            SmfTrackEvent e;
            while (cursor.next(e, nullptr)) {
                keep(e, static_cast<double>(offset + clock.secondsAt(e.tick)));
            }
            offset += clock.secondsAt(endTicks[i]);
        }
        song.lengthSeconds = offset;
    } else {
        // One shared timeline; tempo changes count from whichever track holds them.
        std::vector<SmfTempoChange> shared;
        for (auto& t : tempos) {
            shared.insert(shared.end(), t.begin(), t.end());
            t = {};
        }
        sortByTick(shared);
        TempoClock clock = clockFor(shared);
        mergeTracks(chunks, [&](const SmfTrackEvent& e) { keep(e, clock.eventSecondsAt(e.tick)); });
        song.lengthSeconds = clock.secondsAt(*std::max_element(endTicks.begin(), endTicks.end()));
    }
    if (!anyNote && song.lengthSeconds == 0) {
        // Nothing would sound and the song would end as it starts: a playlist would skip it
        // without a word.
        return fail(error, QStringLiteral("geen noten in dit MIDI-bestand"));
    }
    return song;
}

} // namespace playback
