#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The MIDI file reader's inner part: one track chunk walked event by event. Internal to
// SmfParser.cpp (and its tests); any thread.
namespace playback {

struct SmfTempoChange {
    long long tick;
    int microsecondsPerQuarter;
};

// What a track hands on to the song: a channel message or the body of a system exclusive one.
struct SmfTrackEvent {
    long long tick = 0;
    uint32_t message = 0; // packed as in SmfSong::messages; 0xF0 alone for system exclusive
    const unsigned char* sysex = nullptr;
    uint32_t sysexLength = 0;
};

// Walks one MTrk body. Stops at End of Track, or at the first incomplete or impossible event.
// Walking the same body twice gives the same events: the parser counts first, then keeps.
class SmfTrackCursor {
public:
    SmfTrackCursor(const unsigned char* begin, const unsigned char* end, bool cutShort)
        : m_p(begin), m_end(end), m_truncated(cutShort) {}

    // The next event the synthesizer takes; false at the end of the track. Tempo changes are
    // added to `tempos` when it is given.
    bool next(SmfTrackEvent& out, std::vector<SmfTempoChange>* tempos) {
        while (!m_done && m_p < m_end) {
            uint32_t delta = 0;
            if (!variableLength(delta) || m_p >= m_end) {
                return damaged();
            }
            m_tick += delta;
            unsigned char status = *m_p;
            if (status & 0x80) {
                ++m_p;
            } else if (m_running != 0) {
                status = m_running;
            } else {
                return damaged(); // data byte without any status before it
            }
            if (status < 0xf0) {
                m_running = status;
                const bool oneByte = (status & 0xe0) == 0xc0; // program change, channel pressure
                if (left() < (oneByte ? 1u : 2u)) {
                    return damaged();
                }
                const uint32_t data1 = m_p[0];
                const uint32_t data2 = oneByte ? 0 : m_p[1];
                if ((data1 | data2) & 0x80) {
                    return damaged();
                }
                m_p += oneByte ? 1 : 2;
                m_endTick = m_tick;
                out = {m_tick, status | data1 << 8 | data2 << 16, nullptr, 0};
                return true;
            }
            if (status == 0xff) {
                // Strictly, meta and system exclusive events end running status; keeping it
                // reads files that rely on it anyway, and no valid file differently.
                uint32_t length = 0;
                if (m_p >= m_end) {
                    return damaged();
                }
                const unsigned char type = *m_p++;
                if (!variableLength(length) || left() < length) {
                    return damaged();
                }
                if (tempos != nullptr && type == 0x51 && length == 3) {
                    const int tempo = (int(m_p[0]) << 16) | (int(m_p[1]) << 8) | int(m_p[2]);
                    if (tempo > 0) {
                        tempos->push_back({m_tick, tempo});
                    }
                }
                m_p += length;
                m_endTick = m_tick;
                m_done = type == 0x2f; // End of Track: whatever follows is not part of the song
            } else if (status == 0xf0 || status == 0xf7) {
                uint32_t length = 0;
                if (!variableLength(length) || left() < length) {
                    return damaged();
                }
                const unsigned char* body = m_p;
                m_p += length;
                m_endTick = m_tick;
                // The synthesizer takes the message without its framing bytes. An F7 "escape"
                // packet carries raw bytes for a device; nothing a synthesizer needs.
                const uint32_t bodyLength = length > 0 && body[length - 1] == 0xf7 ? length - 1 : length;
                if (status == 0xf0 && bodyLength > 0) {
                    out = {m_tick, 0xf0, body, bodyLength};
                    return true;
                }
            } else if (!skipStray(status)) {
                return damaged();
            }
        }
        return false;
    }

    long long endTick() const { return m_endTick; } // the last whole event's, End of Track included
    bool truncated() const { return m_truncated; }

private:
    // System common and real-time messages belong on a cable, not in a file; some files hold
    // them anyway, with sound events around them. Skipped with their data bytes.
    bool skipStray(unsigned char status) {
        const size_t need = status == 0xf2 ? 2 : status == 0xf1 || status == 0xf3 ? 1 : 0;
        if (left() < need) {
            return false;
        }
        for (size_t i = 0; i < need; ++i) {
            if (*m_p++ & 0x80) {
                return false;
            }
        }
        if (status < 0xf8) {
            m_running = 0; // as on a cable: a system common message ends running status
        }
        return true;
    }

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

    size_t left() const { return static_cast<size_t>(m_end - m_p); }

    bool damaged() {
        m_truncated = true;
        m_done = true;
        return false;
    }

    const unsigned char* m_p;
    const unsigned char* m_end;
    long long m_tick = 0;
    long long m_endTick = 0;
    unsigned char m_running = 0;
    bool m_truncated;
    bool m_done = false;
};

} // namespace playback
