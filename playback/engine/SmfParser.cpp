#include "playback/engine/SmfParser.h"

#include <algorithm>

namespace smf {
namespace {

constexpr int kDefaultTempo = 500000; // microseconds per quarter note: 120 beats per minute

uint32_t be32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return (uint32_t(u[0]) << 24) | (uint32_t(u[1]) << 16) | (uint32_t(u[2]) << 8) | uint32_t(u[3]);
}
uint32_t le32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return (uint32_t(u[3]) << 24) | (uint32_t(u[2]) << 16) | (uint32_t(u[1]) << 8) | uint32_t(u[0]);
}
int be16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return (int(u[0]) << 8) | int(u[1]);
}

struct RawEvent {
    long long tick;
    Event event;
};

struct TempoChange {
    long long tick;
    int microsecondsPerQuarter;
};

struct Track {
    std::vector<RawEvent> events;
    std::vector<TempoChange> tempos;
    long long endTick = 0; // tick of the last whole event, End of Track included
    bool truncated = false;
};

class TrackReader {
public:
    TrackReader(const unsigned char* begin, const unsigned char* end) : m_p(begin), m_end(end) {}

    bool variableLength(uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            if (m_p >= m_end) {
                return false;
            }
            const unsigned char b = *m_p++;
            value = (value << 7) | (b & 0x7f);
            if ((b & 0x80) == 0) {
                return true;
            }
        }
        return false; // a fifth continuation byte: damaged
    }
    bool atEnd() const { return m_p >= m_end; }
    size_t left() const { return static_cast<size_t>(m_end - m_p); }
    unsigned char peek() const { return *m_p; }
    unsigned char take() { return *m_p++; }
    const unsigned char* here() const { return m_p; }
    void skip(size_t n) { m_p += n; }

private:
    const unsigned char* m_p;
    const unsigned char* m_end;
};

// Reads one MTrk body. Stops at End of Track, or at the first incomplete or impossible event.
Track readTrack(const unsigned char* begin, const unsigned char* end, std::vector<char>& sysex) {
    Track track;
    TrackReader in(begin, end);
    long long tick = 0;
    unsigned char running = 0;
    while (!in.atEnd()) {
        uint32_t delta = 0;
        if (!in.variableLength(delta) || in.atEnd()) {
            track.truncated = true;
            break;
        }
        tick += delta;
        unsigned char status = in.peek();
        if (status & 0x80) {
            in.take();
        } else if (running != 0) {
            status = running;
        } else {
            track.truncated = true; // data byte without any status before it
            break;
        }

        if (status < 0xf0) {
            running = status;
            const size_t need = (status & 0xf0) == 0xc0 || (status & 0xf0) == 0xd0 ? 1 : 2;
            if (in.left() < need) {
                track.truncated = true;
                break;
            }
            Event e;
            e.status = status;
            e.data1 = in.take();
            e.data2 = need == 2 ? in.take() : 0;
            if ((e.data1 | e.data2) & 0x80) {
                track.truncated = true;
                break;
            }
            track.events.push_back({tick, e});
            track.endTick = tick;
        } else if (status == 0xff) {
            // Strictly, meta and system exclusive events end running status; keeping it reads
            // files that rely on it anyway, and no valid file differently.
            if (in.atEnd()) {
                track.truncated = true;
                break;
            }
            const unsigned char type = in.take();
            uint32_t length = 0;
            if (!in.variableLength(length) || in.left() < length) {
                track.truncated = true;
                break;
            }
            if (type == 0x51 && length == 3) {
                const unsigned char* p = in.here();
                const int tempo = (int(p[0]) << 16) | (int(p[1]) << 8) | int(p[2]);
                if (tempo > 0) {
                    track.tempos.push_back({tick, tempo});
                }
            }
            in.skip(length);
            track.endTick = tick;
            if (type == 0x2f) {
                break; // End of Track: whatever follows is not part of the song
            }
        } else if (status == 0xf0 || status == 0xf7) {
            uint32_t length = 0;
            if (!in.variableLength(length) || in.left() < length) {
                track.truncated = true;
                break;
            }
            if (status == 0xf0) {
                // The synthesizer takes the message without its framing bytes.
                uint32_t body = length;
                if (body > 0 && in.here()[body - 1] == 0xf7) {
                    --body;
                }
                Event e;
                e.status = 0xf0;
                e.sysexOffset = static_cast<uint32_t>(sysex.size());
                e.sysexLength = body;
                sysex.insert(sysex.end(), in.here(), in.here() + body);
                track.events.push_back({tick, e});
            }
            // An F7 "escape" packet carries raw bytes for a device; nothing a synthesizer needs.
            in.skip(length);
            track.endTick = tick;
        } else {
            // System common and real-time messages belong on a cable, not in a file; some files
            // hold them anyway, with sound events around them. Skip them with their data bytes.
            const size_t need = status == 0xf2 ? 2 : status == 0xf1 || status == 0xf3 ? 1 : 0;
            if (in.left() < need) {
                track.truncated = true;
                break;
            }
            bool whole = true;
            for (size_t i = 0; i < need; ++i) {
                whole = whole && (in.take() & 0x80) == 0;
            }
            if (!whole) {
                track.truncated = true;
                break;
            }
            if (status < 0xf8) {
                running = 0; // as on a cable: a system common message ends running status
            }
        }
    }
    return track;
}

// Seconds from the start of a tempo map (sorted by tick) to each tick asked for in order.
class TempoClock {
public:
    TempoClock(const std::vector<TempoChange>& tempos, int ticksPerQuarter)
        : m_tempos(tempos), m_ticksPerQuarter(ticksPerQuarter) {}

    // Ticks must not go backwards between calls.
    long double secondsAt(long long tick) {
        while (m_next < m_tempos.size() && m_tempos[m_next].tick <= tick) {
            const TempoChange& t = m_tempos[m_next++];
            m_segmentSeconds += segment(t.tick - m_segmentTick);
            m_segmentTick = t.tick;
            m_tempo = t.microsecondsPerQuarter;
        }
        return m_segmentSeconds + segment(tick - m_segmentTick);
    }

private:
    long double segment(long long ticks) const {
        return static_cast<long double>(ticks) * m_tempo / (1.0e6L * m_ticksPerQuarter);
    }

    const std::vector<TempoChange>& m_tempos;
    int m_ticksPerQuarter;
    size_t m_next = 0;
    long long m_segmentTick = 0;
    long double m_segmentSeconds = 0;
    int m_tempo = kDefaultTempo;
};

void fail(QString* error, const QString& reason) {
    if (error != nullptr) {
        *error = reason;
    }
}

// The SMF inside a RIFF RMID file, or the bytes themselves.
QByteArray unwrapRiff(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "RMID") {
        return bytes;
    }
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const qsizetype length = le32(bytes.constData() + pos + 4);
        if (bytes.mid(pos, 4) == "data") {
            return bytes.mid(pos + 8, length);
        }
        pos += 8 + length + (length & 1);
    }
    return {};
}

} // namespace

bool looksLikeMidi(const QByteArray& head) {
    return head.startsWith("MThd") || (head.startsWith("RIFF") && head.mid(8, 4) == "RMID");
}

std::optional<Song> parse(const QByteArray& fileBytes, QString* error) {
    const QByteArray bytes = unwrapRiff(fileBytes);
    const char* data = bytes.constData();
    const auto size = static_cast<long long>(bytes.size());
    if (size < 14 || !bytes.startsWith("MThd")) {
        fail(error, QStringLiteral("geen MIDI-bestand"));
        return std::nullopt;
    }
    const long long headerLength = be32(data + 4);
    Song song;
    song.format = be16(data + 8);
    const int division = be16(data + 12);
    if (headerLength < 6 || 8 + headerLength > size || song.format > 2 || division == 0) {
        fail(error, QStringLiteral("beschadigde MIDI-kop"));
        return std::nullopt;
    }
    if (division & 0x8000) {
        song.smpte = true;
        song.framesPerSecond = -static_cast<signed char>(division >> 8);
        song.ticksPerFrame = division & 0xff;
        const int fps = song.framesPerSecond;
        if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || song.ticksPerFrame == 0) {
            fail(error, QStringLiteral("onbekende SMPTE-tijdverdeling"));
            return std::nullopt;
        }
    } else {
        song.ticksPerQuarter = division;
    }

    std::vector<Track> tracks;
    long long pos = 8 + headerLength;
    while (pos + 8 <= size) {
        const long long length = be32(data + pos + 4);
        const long long bodyStart = pos + 8;
        const long long bodyEnd = std::min(size, bodyStart + length);
        if (bytes.mid(pos, 4) == "MTrk") {
            const auto* base = reinterpret_cast<const unsigned char*>(data);
            tracks.push_back(readTrack(base + bodyStart, base + bodyEnd, song.sysex));
            if (bodyStart + length > size) {
                tracks.back().truncated = true;
            }
        }
        pos = bodyStart + length;
    }
    if (tracks.empty()) {
        fail(error, QStringLiteral("MIDI-bestand zonder tracks"));
        return std::nullopt;
    }
    song.tracks = static_cast<int>(tracks.size());

    const auto smpteSeconds = [&](long long tick) {
        const long double fps =
            song.framesPerSecond == 29 ? 30000.0L / 1001.0L : static_cast<long double>(song.framesPerSecond);
        return static_cast<long double>(tick) / (fps * song.ticksPerFrame);
    };

    std::vector<std::pair<long double, Event>> timed;
    for (const Track& t : tracks) {
        song.truncated = song.truncated || t.truncated;
    }
    if (song.format == 2) {
        // Independent sequences, one after the other, each with its own tempo map.
        long double offset = 0;
        for (Track& t : tracks) {
            std::stable_sort(t.tempos.begin(), t.tempos.end(),
                             [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
            TempoClock clock(t.tempos, std::max(1, song.ticksPerQuarter));
            for (const RawEvent& e : t.events) {
                timed.emplace_back(offset + (song.smpte ? smpteSeconds(e.tick) : clock.secondsAt(e.tick)),
                                   e.event);
            }
            offset += song.smpte ? smpteSeconds(t.endTick) : clock.secondsAt(t.endTick);
        }
        song.lengthSeconds = offset;
    } else {
        // One shared timeline; tempo changes count from whichever track holds them.
        std::vector<RawEvent> merged;
        std::vector<TempoChange> tempos;
        long long endTick = 0;
        for (const Track& t : tracks) {
            merged.insert(merged.end(), t.events.begin(), t.events.end());
            tempos.insert(tempos.end(), t.tempos.begin(), t.tempos.end());
            endTick = std::max(endTick, t.endTick);
        }
        std::stable_sort(merged.begin(), merged.end(),
                         [](const RawEvent& a, const RawEvent& b) { return a.tick < b.tick; });
        std::stable_sort(tempos.begin(), tempos.end(),
                         [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
        TempoClock clock(tempos, std::max(1, song.ticksPerQuarter));
        timed.reserve(merged.size());
        for (const RawEvent& e : merged) {
            timed.emplace_back(song.smpte ? smpteSeconds(e.tick) : clock.secondsAt(e.tick), e.event);
        }
        song.lengthSeconds = song.smpte ? smpteSeconds(endTick) : clock.secondsAt(endTick);
    }
    song.events.reserve(timed.size());
    bool anyNote = false;
    for (auto& [seconds, e] : timed) {
        e.seconds = static_cast<double>(seconds);
        anyNote = anyNote || ((e.status & 0xf0) == 0x90 && e.data2 != 0);
        song.events.push_back(e);
    }
    if (!anyNote && song.lengthSeconds == 0) {
        // Nothing would sound and the song would end as it starts: a playlist would skip it
        // without a word.
        fail(error, QStringLiteral("geen noten in dit MIDI-bestand"));
        return std::nullopt;
    }
    return song;
}

} // namespace smf
