#include "playback/engine/Mp3Decoder.h"

#include <QFile>
#include <QFileInfo>

#include <mpg123.h>

#include <algorithm>
#include <mutex>

namespace {

void initialiseLibrary() {
    // Required once per process before any handle on older libmpg123; harmless on newer ones.
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

// Where the first MPEG frame starts and how many bytes its LAME/Xing Info frame says the stream
// holds from there; {-1, -1} when the file starts with no such frame or it gives no byte count.
std::pair<qint64, qint64> infoFrameBytes(QFile& file) {
    qint64 start = 0;
    const QByteArray id3 = file.read(10);
    if (id3.size() == 10 && id3.startsWith("ID3")) {
        const auto b = [&](int i) { return qint64(static_cast<unsigned char>(id3[i]) & 0x7f); };
        start = 10 + (b(6) << 21 | b(7) << 14 | b(8) << 7 | b(9)) + ((id3[5] & 0x10) != 0 ? 10 : 0);
    }
    if (!file.seek(start)) {
        return {-1, -1};
    }
    const QByteArray head = file.read(4096);
    const auto u = [&](qsizetype i) { return static_cast<unsigned char>(head[i]); };
    for (qsizetype i = 0; i + 4 <= head.size(); ++i) {
        const int version = (u(i + 1) >> 3) & 3; // 3: MPEG 1, 2: MPEG 2, 0: MPEG 2.5
        const bool layer3 = ((u(i + 1) >> 1) & 3) == 1;
        if (u(i) != 0xff || (u(i + 1) & 0xe0) != 0xe0 || version == 1 || !layer3 || (u(i + 2) >> 4) == 15 ||
            ((u(i + 2) >> 2) & 3) == 3) {
            continue;
        }
        const bool mono = (u(i + 3) >> 6) == 3;
        const qsizetype sideInfo = version == 3 ? (mono ? 17 : 32) : (mono ? 9 : 17);
        const qsizetype tag = i + 4 + ((u(i + 1) & 1) == 0 ? 2 : 0) + sideInfo;
        if (tag + 16 > head.size() || (head.mid(tag, 4) != "Xing" && head.mid(tag, 4) != "Info")) {
            return {-1, -1};
        }
        const auto be32 = [&](qsizetype at) {
            return qint64(u(at)) << 24 | u(at + 1) << 16 | u(at + 2) << 8 | u(at + 3);
        };
        const qint64 flags = be32(tag + 4);
        if ((flags & 2) == 0) {
            return {-1, -1};
        }
        return {start + i, be32(tag + 8 + ((flags & 1) != 0 ? 4 : 0))};
    }
    return {-1, -1};
}

} // namespace

std::unique_ptr<Mp3Decoder> Mp3Decoder::open(const QString& path, QString* error) {
    const auto failWith = [error](const QString& reason) {
        if (error != nullptr) {
            *error = reason;
        }
        return nullptr;
    };
    const QFileInfo info(path);
    if (!info.exists()) {
        return failWith(QStringLiteral("bestand bestaat niet"));
    }
    if (!info.isFile()) {
        return failWith(QStringLiteral("geen gewoon bestand"));
    }
    if (info.size() == 0) {
        return failWith(QStringLiteral("bestand is leeg"));
    }

    initialiseLibrary();
    int err = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &err);
    if (handle == nullptr) {
        return failWith(QStringLiteral("MP3-decoder niet beschikbaar"));
    }
    std::unique_ptr<Mp3Decoder> decoder(new Mp3Decoder(handle));
    // Gapless: encoder delay and padding are cut, so the length is the source's to the sample.
    // Quiet: a damaged file is our caller's business, not a line on stderr per broken frame.
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    // Fixed stereo float output; scans the whole file for its length where no Info frame says it.
    const QByteArray name = QFile::encodeName(path);
    if (mpg123_open_fixed(handle, name.constData(), MPG123_STEREO, MPG123_ENC_FLOAT_32) != MPG123_OK) {
        return failWith(QStringLiteral("geen MP3-geluid gevonden"));
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || rate < 8000 || rate > 48000) {
        return failWith(QStringLiteral("geen MP3-geluid gevonden"));
    }
    mpg123_frameinfo2 frame{};
    decoder->m_channels = mpg123_info2(handle, &frame) == MPG123_OK && frame.mode == MPG123_M_MONO ? 1 : 2;
    off_t length = mpg123_length(handle);
    QFile file(path);
    if (length > 0 && file.open(QIODevice::ReadOnly)) {
        // A cut-off file keeps the Info frame of the whole one, whose length would then promise
        // minutes of silence: where the frame counts more bytes than the file holds, the frames
        // that are there give the length.
        const auto [frameStart, promised] = infoFrameBytes(file);
        if (frameStart >= 0 && promised > info.size() - frameStart && mpg123_scan(handle) == MPG123_OK) {
            length = mpg123_length(handle);
            mpg123_seek(handle, 0, SEEK_SET);
        }
    }
    if (length <= 0) {
        return failWith(QStringLiteral("geen MP3-geluid gevonden"));
    }
    decoder->m_rate = static_cast<int>(rate);
    decoder->m_length = length;
    return decoder;
}

Mp3Decoder::~Mp3Decoder() {
    mpg123_delete(m_handle);
}

long Mp3Decoder::read(float* stereo, long frames) {
    long done = 0;
    while (done < frames && !m_finished && m_position < m_length) {
        const long want = static_cast<long>(std::min<long long>(frames - done, m_length - m_position));
        size_t bytes = 0;
        const int rc =
            mpg123_read(m_handle, stereo + 2 * done, static_cast<size_t>(want) * 2 * sizeof(float), &bytes);
        const auto got = static_cast<long>(bytes / (2 * sizeof(float)));
        done += got;
        m_position += got;
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(m_handle, &rate, &channels, &encoding);
            if (rate != m_rate) {
                m_finished = true; // a stream that changes its rate is not one song any more
            }
        } else if (rc != MPG123_OK || got == 0) {
            // MPG123_DONE, an error the decoder cannot get past, or (never seen on a file) a read
            // that made no progress and would otherwise spin.
            m_finished = true;
        }
    }
    return done;
}

bool Mp3Decoder::rewind() {
    m_finished = mpg123_seek(m_handle, 0, SEEK_SET) < 0;
    m_position = 0;
    return !m_finished;
}
