#include "common/SettingsFile.h"

#include "common/TextFiles.h"

#include <QLocale>
#include <QStringView>

#include <algorithm>
#include <cmath>

namespace {

// A hand-edited file could be anything; the sixteen fields of a real one fit in a few hundred
// bytes, so a large file is cut at its last line end within this limit.
constexpr qint64 kMaxReadBytes = 1024 * 1024;

constexpr int kMinComponent = -32768;
constexpr int kMaxComponent = 32767;

// Takes the fields of the settings text one at a time.
class FieldReader {
public:
    explicit FieldReader(QStringView text) : m_text(text) {}

    // The next field, or false when the text ends before one starts.
    bool next(QString& field) {
        while (m_pos < m_text.size() && isBlank(m_text[m_pos])) {
            ++m_pos;
        }
        if (m_pos >= m_text.size()) {
            return false;
        }
        if (m_text[m_pos] == u'"') {
            const qsizetype start = m_pos + 1;
            const qsizetype end = m_text.indexOf(u'"', start);
            if (end < 0) {
                field = m_text.sliced(start).toString();
                m_pos = m_text.size();
                return true;
            }
            field = m_text.sliced(start, end - start).toString();
            m_pos = end + 1;
            while (m_pos < m_text.size() && !isSeparator(m_text[m_pos])) {
                ++m_pos;
            }
        } else {
            const qsizetype start = m_pos;
            while (m_pos < m_text.size() && !isSeparator(m_text[m_pos])) {
                ++m_pos;
            }
            field = m_text.sliced(start, m_pos - start).toString();
        }
        skipSeparator();
        return true;
    }

private:
    static bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
    static bool isSeparator(QChar c) { return c == u',' || c == u'\r' || c == u'\n'; }

    // One comma or one line end (CR LF, LF or CR).
    void skipSeparator() {
        if (m_pos >= m_text.size()) {
            return;
        }
        const QChar c = m_text[m_pos++];
        if (c == u'\r' && m_pos < m_text.size() && m_text[m_pos] == u'\n') {
            ++m_pos;
        }
    }

    QStringView m_text;
    qsizetype m_pos = 0;
};

// A colour component as read; `value` is left alone when the field is not a number.
void readComponent(const QString& field, int& value) {
    bool ok = false;
    const double number = QLocale::c().toDouble(QStringView(field).trimmed(), &ok);
    if (!ok || !std::isfinite(number)) {
        return;
    }
    // nearbyint rounds halves to even in the default rounding mode.
    const double whole = std::nearbyint(std::clamp(number, double(kMinComponent), double(kMaxComponent)));
    value = static_cast<int>(whole);
}

QByteArray tripleLine(const ColourTriple& t) {
    return QByteArray::number(t.red) + ',' + QByteArray::number(t.green) + ',' + QByteArray::number(t.blue) +
           "\r\n";
}

QByteArray textLine(const QString& text) {
    return '"' + common::encodeText(common::settingsSafeText(text)) + "\"\r\n";
}

} // namespace

QString common::settingsSafeText(const QString& text) {
    if (!text.contains(u'"')) {
        return text;
    }
    QString out = text;
    bool opening = true;
    for (QChar& c : out) {
        if (c == u'"') {
            c = opening ? QChar(0x201C) : QChar(0x201D);
            opening = !opening;
        }
    }
    return out;
}

bool common::parseSettingsText(const QString& text, Settings& settings) {
    FieldReader reader(text);
    QString field;
    for (ColourTriple* triple :
         {&settings.leftColour, &settings.rightColour, &settings.infoBarColour, &settings.textColour}) {
        for (int* component : {&triple->red, &triple->green, &triple->blue}) {
            if (!reader.next(field)) {
                return false;
            }
            readComponent(field, *component);
        }
    }
    for (QString* value :
         {&settings.reservedText, &settings.advertText, &settings.logoPath, &settings.searchFolder}) {
        if (!reader.next(field)) {
            return false;
        }
        *value = field;
    }
    return true;
}

QByteArray common::settingsFileBytes(const Settings& settings) {
    QByteArray bytes;
    bytes += tripleLine(settings.leftColour);
    bytes += tripleLine(settings.rightColour);
    bytes += tripleLine(settings.infoBarColour);
    bytes += tripleLine(settings.textColour);
    bytes += textLine(settings.reservedText);
    bytes += textLine(settings.advertText);
    bytes += textLine(settings.logoPath);
    bytes += textLine(settings.searchFolder);
    return bytes;
}

bool common::LoadSettings(const QString& filePath, Settings& settings) {
    // Only a regular file: a named pipe would hang the start until someone writes to it.
    QByteArray bytes;
    if (!common::readFile(filePath, bytes, nullptr, kMaxReadBytes + 1)) {
        return false;
    }
    if (bytes.size() > kMaxReadBytes) {
        // Cut at a line end, so that a UTF-8 sequence is never split in two.
        bytes.truncate(std::max<qsizetype>(bytes.lastIndexOf('\n', kMaxReadBytes - 1) + 1, 0));
    }
    return common::parseSettingsText(common::decodeText(bytes), settings);
}

bool common::SaveSettings(const QString& filePath, const Settings& settings, QString* error) {
    return common::writeAtomically(filePath, common::settingsFileBytes(settings), error);
}

QString common::settingsFilePath(const QString& programFolder) {
    return programFolder + QStringLiteral("/Tunara.ini");
}
