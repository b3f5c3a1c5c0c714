// Opens arbitrary bytes as an MP3 file and decodes what opens, as the engine does: no input may
// crash or hang, and a decoder never gives more frames than the length it announced.
#include "playback/engine/Mp3Decoder.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QString path = QStringLiteral("/tmp/tunara-mp3-fuzz-%1.mp3").arg(getpid());
    FILE* file = std::fopen(path.toLocal8Bit().constData(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    QString error;
    const auto decoder = Mp3Decoder::open(path, &error);
    if (!decoder) {
        return 0;
    }
    std::vector<float> block(2 * 4096);
    long long total = 0;
    for (int pass = 0; pass < 2; ++pass) {
        total = 0;
        while (const long n = decoder->read(block.data(), 4096)) {
            total += n;
            if (total > decoder->lengthFrames()) {
                std::abort();
            }
        }
        decoder->rewind();
    }
    return 0;
}
