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
    const off_t length = mpg123_length(handle);
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
