#include "browse/NameOrder.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(NameOrder, IgnoresCaseAndPutsTheStemFirst) {
    QStringList names{"b.mp3",    "Song 2.mp3", "A.mid",      "c.MP3",
                      "Song.mp3", "a.mp3",      "song-b.mp3", "Song10.mp3"};
    NameOrder::sort(names);
    EXPECT_EQ(names, QStringList({"A.mid", "a.mp3", "b.mp3", "c.MP3", "Song.mp3", "Song 2.mp3", "song-b.mp3",
                                  "Song10.mp3"}));
}

TEST(NameOrder, AccentsAndCaseOnlyBreakTies) {
    EXPECT_LT(NameOrder::compare(QStringLiteral("e.mp3"), QStringLiteral("é.mp3")), 0);
    EXPECT_LT(NameOrder::compare(QStringLiteral("é.mp3"), QStringLiteral("f.mp3")), 0);
    EXPECT_LT(NameOrder::compare(QStringLiteral("Éa.mp3"), QStringLiteral("eb.mp3")), 0);
    EXPECT_LT(NameOrder::compare(QStringLiteral("A.mp3"), QStringLiteral("a.mp3")), 0);
    EXPECT_GT(NameOrder::compare(QStringLiteral("a.mp3"), QStringLiteral("A.mp3")), 0);
    EXPECT_EQ(NameOrder::compare(QStringLiteral("a.mp3"), QStringLiteral("a.mp3")), 0);
    // Canonically equal spellings still get a fixed order.
    const QString composed = QStringLiteral("\u00e9.mp3");
    const QString decomposed = QStringLiteral("e\u0301.mp3");
    EXPECT_NE(NameOrder::compare(composed, decomposed), 0);
    EXPECT_EQ(NameOrder::compare(composed, decomposed), -NameOrder::compare(decomposed, composed));
}

TEST(NameOrder, SortIsTotalAndIndependentOfTheInputOrder) {
    QStringList names;
    auto* random = QRandomGenerator::global();
    const QString letters = QStringLiteral("aAbBeéÉ 1._-z");
    for (int i = 0; i < 400; ++i) {
        QString name;
        const int length = 1 + static_cast<int>(random->bounded(6));
        for (int j = 0; j < length; ++j) {
            name.append(letters.at(static_cast<int>(random->bounded(letters.size()))));
        }
        names.append(name + QStringLiteral(".mp3"));
    }
    names.removeDuplicates();
    QStringList sorted = names;
    NameOrder::sort(sorted);
    for (qsizetype i = 1; i < sorted.size(); ++i) {
        ASSERT_LT(NameOrder::compare(sorted.at(i - 1), sorted.at(i)), 0)
            << sorted.at(i - 1).toStdString() << " / " << sorted.at(i).toStdString();
    }
    QStringList shuffled = names;
    std::reverse(shuffled.begin(), shuffled.end());
    NameOrder::sort(shuffled);
    EXPECT_EQ(shuffled, sorted);
}

} // namespace
