#include "common/TextFiles.h"

#include <QSaveFile>
#include <QStringDecoder>

namespace TextFiles {

namespace {

// Windows-1252 0x80..0x9F; 0 marks the unassigned bytes (decoded as the C1 control of the same value).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

QString decodeWindows1252(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        char16_t u = b;
        if (b >= 0x80 && b <= 0x9F && kHighControls[b - 0x80] != 0) {
            u = kHighControls[b - 0x80];
        }
        *d++ = QChar(u);
    }
    return out;
}

QString decode(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        view = view.sliced(3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) {
        return text;
    }
    // The mark says the file was meant as UTF-8; it is no text of the file either way.
    return decodeWindows1252(view.toByteArray());
}

QByteArray encode(const QString& text) {
    return text.toUtf8();
}

bool writeAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    // Unbuffered: a buffered write reports every byte as written, and when the disk fills up
    // while the buffer is flushed, commit() still succeeds with a truncated file. Unbuffered,
    // the short write shows in write()'s result below.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error) {
            *error = file.errorString();
        }
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}

} // namespace TextFiles
