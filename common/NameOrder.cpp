#include "common/NameOrder.h"

#include <algorithm>
#include <vector>

namespace common {

namespace {

// Marks the end of the name's stem, so that "Song.mp3" sorts before "Song 2.mp3" (the stem
// "Song" is a prefix of "Song 2") whatever character follows the stem.
constexpr char16_t kStemEnd = 0x0001;

bool isAscii(const QString& s) {
    for (const QChar ch : s) {
        if (ch.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}

// Case and accents ignored; the stem before the extension first.
QString primaryKey(const QString& name) {
    QString folded;
    if (isAscii(name)) {
        folded.resize(name.size());
        const QChar* s = name.constData();
        QChar* d = folded.data();
        for (qsizetype i = 0; i < name.size(); ++i) {
            const char16_t u = s[i].unicode();
            d[i] = QChar(u >= 'A' && u <= 'Z' ? char16_t(u + 32) : u);
        }
    } else {
        const QString decomposed = name.normalized(QString::NormalizationForm_D);
        folded.reserve(decomposed.size());
        for (const QChar ch : decomposed) {
            if (ch.category() != QChar::Mark_NonSpacing) {
                folded.append(ch);
            }
        }
        folded = folded.toCaseFolded();
    }
    const qsizetype dot = folded.lastIndexOf(u'.');
    if (dot > 0) {
        folded.insert(dot, QChar(kStemEnd));
    }
    return folded;
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

// The rules after the primary key: accents (case still ignored), then the exact characters.
int tieBreak(const QString& a, const QString& b) {
    const int folded = sign(a.toCaseFolded().compare(b.toCaseFolded(), Qt::CaseSensitive));
    if (folded != 0) {
        return folded;
    }
    return sign(a.compare(b, Qt::CaseSensitive));
}

} // namespace

int compareNames(const QString& a, const QString& b) {
    const int primary = sign(primaryKey(a).compare(primaryKey(b), Qt::CaseSensitive));
    return primary != 0 ? primary : tieBreak(a, b);
}

void sortNames(QStringList& names) {
    struct Keyed {
        QString key;
        qsizetype index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(static_cast<size_t>(names.size()));
    for (qsizetype i = 0; i < names.size(); ++i) {
        keyed.push_back(Keyed{primaryKey(names.at(i)), i});
    }
    std::sort(keyed.begin(), keyed.end(), [&names](const Keyed& a, const Keyed& b) {
        const int primary = a.key.compare(b.key, Qt::CaseSensitive);
        if (primary != 0) {
            return primary < 0;
        }
        return tieBreak(names.at(a.index), names.at(b.index)) < 0;
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const Keyed& k : keyed) {
        sorted.append(std::move(names[k.index]));
    }
    names = std::move(sorted);
}

} // namespace common
