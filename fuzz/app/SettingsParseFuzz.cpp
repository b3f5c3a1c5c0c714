// Feeds arbitrary bytes to the settings reader. No input may crash it, and whatever it reads
// must come back unchanged after being written and read again (texts made storable first).
#include "common/SettingsFile.h"
#include "common/TextFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Settings read;
    if (!common::parseSettingsText(common::decodeText(bytes), read)) {
        return 0;
    }
    // A text with a line end or a leading blank is not what the writer produces from user input,
    // and the reader drops blanks before a field: compare only what a round trip must keep.
    for (QString* text : {&read.reservedText, &read.advertText, &read.logoPath, &read.searchFolder}) {
        *text = common::settingsSafeText(*text);
        if (text->contains(QLatin1Char('\r')) || text->contains(QLatin1Char('\n'))) {
            return 0;
        }
    }
    Settings again;
    if (!common::parseSettingsText(common::decodeText(common::settingsFileBytes(read)), again) ||
        !(again == read)) {
        std::abort();
    }
    return 0;
}
