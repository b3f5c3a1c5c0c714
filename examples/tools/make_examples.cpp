// Writes the example songs of examples/: three public-domain melodies in our own arrangements,
// as Standard MIDI Files, and an MP3 rendering of each (FluidSynth with a General MIDI SoundFont,
// then LAME). Run it through scripts/make-examples.sh; it needs no Qt.
//
//   make_examples <output folder> <soundfont.sf2>

#include <fluidsynth.h>
#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kDivision = 480; // ticks per quarter note
constexpr int kSampleRate = 44100;

// A note of a voice: pitch as a MIDI key (0 = rest) and length in quarter notes.
struct Note {
    int key;
    double beats;
};

struct Voice {
    int channel;
    int program; // General MIDI program, 0-based
    int velocity;
    double startBeat; // where the voice enters
    std::vector<Note> notes;
};

struct Piece {
    std::string fileName; // without extension
    std::string title;    // for the ID3v1 tag, ASCII
    int beatsPerMinute;
    std::vector<Voice> voices;
};

// Keys by name in the octave of middle C (C4 = 60); `o` shifts by octaves.
constexpr int C = 60, D = 62, E = 64, F = 65, G = 67, A = 69, B = 71;
constexpr int o(int key, int octaves) {
    return key + 12 * octaves;
}

void append(std::vector<Note>& to, const std::vector<Note>& notes, int times = 1) {
    for (int i = 0; i < times; ++i) {
        to.insert(to.end(), notes.begin(), notes.end());
    }
}

double lengthBeats(const Voice& v) {
    double b = v.startBeat;
    for (const Note& n : v.notes) {
        b += n.beats;
    }
    return b;
}

double lengthBeats(const Piece& p) {
    double b = 0;
    for (const Voice& v : p.voices) {
        b = std::max(b, lengthBeats(v));
    }
    return b;
}

// --- The three pieces -------------------------------------------------------------------------

// Beethoven's "Freude" theme (1824) with a walking bass line of our own.
Piece odeAnDieFreude() {
    const std::vector<Note> a1 = {{E, 1}, {E, 1}, {F, 1}, {G, 1}, {G, 1},   {F, 1},  {E, 1}, {D, 1},
                                  {C, 1}, {C, 1}, {D, 1}, {E, 1}, {E, 1.5}, {D, .5}, {D, 2}};
    const std::vector<Note> a2 = {{E, 1}, {E, 1}, {F, 1}, {G, 1}, {G, 1},   {F, 1},  {E, 1}, {D, 1},
                                  {C, 1}, {C, 1}, {D, 1}, {E, 1}, {D, 1.5}, {C, .5}, {C, 2}};
    const std::vector<Note> b = {{D, 1},  {D, 1}, {E, 1}, {C, 1}, {D, 1},       {E, .5},
                                 {F, .5}, {E, 1}, {C, 1}, {D, 1}, {E, .5},      {F, .5},
                                 {E, 1},  {D, 1}, {C, 1}, {D, 1}, {o(G, -1), 2}};
    Voice melody{0, 40, 96, 0, {}}; // violin
    append(melody.notes, a1);
    append(melody.notes, a2);
    append(melody.notes, b);
    append(melody.notes, a2);

    // One chord root per half bar.
    const int c2 = o(C, -2), g1 = o(G, -3), f2 = o(F, -2), e2 = o(E, -2);
    const std::vector<int> roots = {c2, c2, g1, g1, c2, c2, g1, g1, c2, c2, g1, g1, c2, c2, g1, c2,
                                    g1, g1, g1, c2, g1, c2, c2, g1, c2, c2, g1, g1, f2, e2, g1, c2};
    Voice bass{1, 42, 80, 0, {}}; // cello
    for (int r : roots) {
        bass.notes.push_back({r, 1});
        bass.notes.push_back({r + 7, 1});
    }
    return {"Ode an die Freude", "Ode an die Freude", 116, {melody, bass}};
}

// "Ah ! vous dirai-je, maman" (French, 18th century), the tune of "Twinkle, Twinkle".
Piece twinkle() {
    const std::vector<Note> a = {{C, 1}, {C, 1}, {G, 1}, {G, 1}, {A, 1}, {A, 1}, {G, 2},
                                 {F, 1}, {F, 1}, {E, 1}, {E, 1}, {D, 1}, {D, 1}, {C, 2}};
    const std::vector<Note> b = {{G, 1}, {G, 1}, {F, 1}, {F, 1}, {E, 1}, {E, 1}, {D, 2}};
    Voice melody{0, 10, 100, 0, {}}; // music box
    append(melody.notes, a);
    append(melody.notes, b, 2);
    append(melody.notes, a);
    for (Note& n : melody.notes) {
        n.key += 12;
    }

    // Broken chords in the left hand, one chord per half bar.
    const std::vector<std::vector<int>> chordsA = {{C, E, G},      {C, E, G}, {F, A, C + 12},      {C, E, G},
                                                   {F, A, C + 12}, {C, E, G}, {G - 12, B - 12, D}, {C, E, G}};
    const std::vector<std::vector<int>> chordsB = {{C, E, G}, {F, A, C + 12}, {C, E, G}, {G - 12, B - 12, D}};
    std::vector<std::vector<int>> chords = chordsA;
    chords.insert(chords.end(), chordsB.begin(), chordsB.end());
    chords.insert(chords.end(), chordsB.begin(), chordsB.end());
    chords.insert(chords.end(), chordsA.begin(), chordsA.end());
    Voice left{1, 0, 70, 0, {}}; // piano
    for (const auto& ch : chords) {
        left.notes.push_back({ch[0] - 12, .5});
        left.notes.push_back({ch[1] - 12, .5});
        left.notes.push_back({ch[2] - 12, .5});
        left.notes.push_back({ch[1] - 12, .5});
    }
    return {"Twinkle Twinkle", "Twinkle Twinkle (Ah vous dirai-je)", 104, {melody, left}};
}

// "Frere Jacques" (French, 18th century) as a round for three wind instruments.
Piece frereJacques() {
    const std::vector<Note> tune = {{C, 1},  {D, 1},  {E, 1},        {C, 1},  {C, 1}, {D, 1}, {E, 1},
                                    {C, 1},  {E, 1},  {F, 1},        {G, 2},  {E, 1}, {F, 1}, {G, 2},
                                    {G, .5}, {A, .5}, {G, .5},       {F, .5}, {E, 1}, {C, 1}, {G, .5},
                                    {A, .5}, {G, .5}, {F, .5},       {E, 1},  {C, 1}, {C, 1}, {o(G, -1), 1},
                                    {C, 2},  {C, 1},  {o(G, -1), 1}, {C, 2}};
    auto voice = [&](int channel, int program, int octave, double start) {
        Voice v{channel, program, 92, start, {}};
        append(v.notes, tune, 2);
        for (Note& n : v.notes) {
            n.key += 12 * octave;
        }
        return v;
    };
    return {"Frere Jacques",
            "Frere Jacques (canon)",
            138,
            {voice(0, 73, 1, 0), voice(1, 71, 0, 8), voice(2, 70, -1, 16)}}; // flute, clarinet, bassoon
}

// --- Standard MIDI File ---------------------------------------------------------------------

void putVarLen(std::vector<uint8_t>& out, uint32_t v) {
    uint8_t bytes[5];
    int n = 0;
    bytes[n++] = v & 0x7F;
    while ((v >>= 7) != 0) {
        bytes[n++] = 0x80 | (v & 0x7F);
    }
    while (n > 0) {
        out.push_back(bytes[--n]);
    }
}

void putBE(std::vector<uint8_t>& out, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

void putChunk(std::vector<uint8_t>& file, const char* id, const std::vector<uint8_t>& body) {
    file.insert(file.end(), id, id + 4);
    putBE(file, static_cast<uint32_t>(body.size()), 4);
    file.insert(file.end(), body.begin(), body.end());
}

uint32_t ticks(double beats) {
    return static_cast<uint32_t>(std::lround(beats * kDivision));
}

std::vector<uint8_t> trackOf(const Voice& v, const std::string& name) {
    std::vector<uint8_t> t;
    putVarLen(t, 0);
    t.insert(t.end(), {0xFF, 0x03, static_cast<uint8_t>(name.size())});
    t.insert(t.end(), name.begin(), name.end());
    putVarLen(t, 0);
    t.push_back(static_cast<uint8_t>(0xC0 | v.channel));
    t.push_back(static_cast<uint8_t>(v.program));

    uint32_t pending = ticks(v.startBeat);
    for (const Note& n : v.notes) {
        const uint32_t len = ticks(n.beats);
        if (n.key == 0) {
            pending += len;
            continue;
        }
        // A short gap before the next note keeps repeated notes apart.
        const uint32_t gap = std::min<uint32_t>(len / 8, 40);
        putVarLen(t, pending);
        t.insert(t.end(), {static_cast<uint8_t>(0x90 | v.channel), static_cast<uint8_t>(n.key),
                           static_cast<uint8_t>(v.velocity)});
        putVarLen(t, len - gap);
        t.insert(t.end(), {static_cast<uint8_t>(0x80 | v.channel), static_cast<uint8_t>(n.key), 0});
        pending = gap;
    }
    putVarLen(t, pending);
    t.insert(t.end(), {0xFF, 0x2F, 0x00});
    return t;
}

std::vector<uint8_t> midiFile(const Piece& p) {
    std::vector<uint8_t> file;
    std::vector<uint8_t> header;
    putBE(header, 1, 2); // format 1
    putBE(header, static_cast<uint32_t>(p.voices.size() + 1), 2);
    putBE(header, kDivision, 2);
    putChunk(file, "MThd", header);

    std::vector<uint8_t> tempo;
    putVarLen(tempo, 0);
    tempo.insert(tempo.end(), {0xFF, 0x03, static_cast<uint8_t>(p.title.size())});
    tempo.insert(tempo.end(), p.title.begin(), p.title.end());
    putVarLen(tempo, 0);
    tempo.insert(tempo.end(), {0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08}); // 4/4
    putVarLen(tempo, 0);
    tempo.insert(tempo.end(), {0xFF, 0x51, 0x03});
    putBE(tempo, static_cast<uint32_t>(60000000 / p.beatsPerMinute), 3);
    putVarLen(tempo, ticks(lengthBeats(p)));
    tempo.insert(tempo.end(), {0xFF, 0x2F, 0x00});
    putChunk(file, "MTrk", tempo);

    int i = 1;
    for (const Voice& v : p.voices) {
        putChunk(file, "MTrk", trackOf(v, "Stem " + std::to_string(i++)));
    }
    return file;
}

// --- Rendering and encoding -------------------------------------------------------------------

// Renders the file's length plus a short tail for the last notes to ring out; stereo float.
bool render(const std::string& midiPath, const std::string& soundFont, double seconds,
            std::vector<float>& left, std::vector<float>& right) {
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate);
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    fluid_synth_t* synth = new_fluid_synth(settings);
    bool ok = fluid_synth_sfload(synth, soundFont.c_str(), 1) != FLUID_FAILED;
    fluid_player_t* player = ok ? new_fluid_player(synth) : nullptr;
    ok =
        ok && fluid_player_add(player, midiPath.c_str()) == FLUID_OK && fluid_player_play(player) == FLUID_OK;
    if (ok) {
        const long total = std::lround((seconds + 1.5) * kSampleRate);
        left.assign(total, 0.f);
        right.assign(total, 0.f);
        for (long at = 0; at < total; at += 512) {
            const int n = static_cast<int>(std::min<long>(512, total - at));
            fluid_synth_write_float(synth, n, left.data() + at, 0, 1, right.data() + at, 0, 1);
        }
        // Fade the tail out over its last second.
        const long fade = kSampleRate;
        for (long i = 0; i < fade; ++i) {
            const float g = static_cast<float>(fade - i) / fade;
            left[total - fade + i] *= g;
            right[total - fade + i] *= g;
        }
    }
    if (player != nullptr) {
        fluid_player_stop(player);
        delete_fluid_player(player);
    }
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return ok;
}

void normalise(std::vector<float>& l, std::vector<float>& r) {
    float peak = 1e-6f;
    for (size_t i = 0; i < l.size(); ++i) {
        peak = std::max({peak, std::fabs(l[i]), std::fabs(r[i])});
    }
    const float g = 0.85f / peak;
    for (size_t i = 0; i < l.size(); ++i) {
        l[i] *= g;
        r[i] *= g;
    }
}

void putField(std::vector<uint8_t>& out, const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i) {
        out.push_back(i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
    }
}

std::vector<uint8_t> id3v1(const std::string& title, int track) {
    std::vector<uint8_t> tag = {'T', 'A', 'G'};
    putField(tag, title, 30);
    putField(tag, "Tunara", 30);
    putField(tag, "Voorbeeldsongs", 30);
    putField(tag, "2026", 4);
    putField(tag, "Eigen bewerking, vrij te spelen", 28);
    tag.push_back(0);
    tag.push_back(static_cast<uint8_t>(track));
    tag.push_back(32); // Classical
    return tag;
}

bool encodeMp3(std::vector<float>& l, std::vector<float>& r, const std::string& title, int track,
               std::vector<uint8_t>& out) {
    lame_global_flags* gf = lame_init();
    lame_set_in_samplerate(gf, kSampleRate);
    lame_set_out_samplerate(gf, kSampleRate);
    lame_set_num_channels(gf, 2);
    lame_set_mode(gf, JOINT_STEREO);
    lame_set_brate(gf, 64);
    lame_set_quality(gf, 2);
    lame_set_bWriteVbrTag(gf, 1); // the LAME/Xing frame that carries the exact length
    if (lame_init_params(gf) < 0) {
        lame_close(gf);
        return false;
    }
    std::vector<unsigned char> buf(static_cast<size_t>(1.25 * l.size() + 7200));
    int n = lame_encode_buffer_ieee_float(gf, l.data(), r.data(), static_cast<int>(l.size()), buf.data(),
                                          static_cast<int>(buf.size()));
    if (n < 0) {
        lame_close(gf);
        return false;
    }
    out.assign(buf.begin(), buf.begin() + n);
    n = lame_encode_flush(gf, buf.data(), static_cast<int>(buf.size()));
    out.insert(out.end(), buf.begin(), buf.begin() + std::max(n, 0));
    // The first frame was held free for the tag; fill it in now that the length is known.
    unsigned char tagFrame[2880];
    const size_t tagSize = lame_get_lametag_frame(gf, tagFrame, sizeof tagFrame);
    if (tagSize > 0 && tagSize <= out.size()) {
        std::copy(tagFrame, tagFrame + tagSize, out.begin());
    }
    lame_close(gf);
    const std::vector<uint8_t> tag = id3v1(title, track);
    out.insert(out.end(), tag.begin(), tag.end());
    return true;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_examples <output folder> <soundfont.sf2>\n";
        return 2;
    }
    const std::string folder = argv[1];
    const std::string soundFont = argv[2];
    const Piece pieces[] = {odeAnDieFreude(), twinkle(), frereJacques()};
    int track = 1;
    for (const Piece& p : pieces) {
        const std::string midiPath = folder + "/" + p.fileName + ".mid";
        const std::string mp3Path = folder + "/" + p.fileName + ".mp3";
        const double seconds = lengthBeats(p) * 60.0 / p.beatsPerMinute;
        std::vector<float> l, r;
        std::vector<uint8_t> mp3;
        if (!writeFile(midiPath, midiFile(p)) || !render(midiPath, soundFont, seconds, l, r)) {
            std::cerr << "cannot write or render " << midiPath << "\n";
            return 1;
        }
        normalise(l, r);
        if (!encodeMp3(l, r, p.title, track++, mp3) || !writeFile(mp3Path, mp3)) {
            std::cerr << "cannot encode " << mp3Path << "\n";
            return 1;
        }
        std::printf("%-24s %5.1f s  %s, %s\n", p.fileName.c_str(), seconds, midiPath.c_str(),
                    mp3Path.c_str());
    }
    return 0;
}
