#include "search/Delay.h"
#include "search/ScanFolder.h"
#include "search/SearchRules.h"
#include "support/Fixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void touchAll(const QString& root, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        ASSERT_TRUE(fixtures::writeFile(root + u'/' + QString::fromUtf8(name), {})) << name;
    }
}

void link(const QString& target, const QString& path) {
    ASSERT_EQ(symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()), 0);
}

// Walks with and without trusting the listing's entry types; both must give the same result.
SearchResults scan(const QString& folder, const QString& keyword) {
    SearchResults fast;
    SearchResults queried;
    search::ScanFolder(folder, keyword, fast, ScanOptions{true});
    search::ScanFolder(folder, keyword, queried, ScanOptions{false});
    EXPECT_EQ(std::pair(fast.paths, fast.mp3Total), std::pair(queried.paths, queried.mp3Total));
    return fast;
}

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

// Each test scans a folder of its own.
class ScanFolderTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    const QString root = tmp.path();
};

} // namespace

TEST(SearchRules, KeywordNeedsThreeCharactersAndIsNotMp3) {
    for (const char* refused : {"", "ab", "mp3", "MP3", "Mp3", "mP3"}) {
        EXPECT_FALSE(search::keywordAccepted(QLatin1String(refused))) << refused;
    }
    for (const char* accepted : {"  x", "abc", " mp3", ".mp3"}) {
        EXPECT_TRUE(search::keywordAccepted(QLatin1String(accepted))) << accepted;
    }
}

TEST_F(ScanFolderTest, StartFolderFilesFirstThenEachSubfolderTreeInListingOrder) {
    touchAll(root, {"top one.mp3", "top two.mp3", "alpha/deep/a2.mp3", "alpha/a1.mp3", "beta/b1.mp3"});
    QStringList expected;
    for (QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot); it.hasNext();) {
        it.next();
        expected += it.fileName() == "alpha" ? QStringList{"a1.mp3", "a2.mp3"} : QStringList{"b1.mp3"};
    }
    const SearchResults r = scan(root, ".mp");
    ASSERT_EQ(r.names.size(), 5);
    EXPECT_EQ(sorted(r.names.mid(0, 2)), (QStringList{"top one.mp3", "top two.mp3"}));
    EXPECT_EQ(r.names.mid(2), expected);
    EXPECT_TRUE(r.paths[0] == root + u'/' + r.names[0] && r.paths.contains(root + "/alpha/deep/a2.mp3"));
}

TEST_F(ScanFolderTest, TotalCountsEveryVisibleMp3AndMatchesIgnoreLetterCaseButKeepBlanks) {
    touchAll(root, {"Beat It.mp3", "sub/drumbeat.MP3", "calm.mp3", "sub/a  xy.mp3", "sub/a xy.mp3",
                    "\u00c9T\u00c9 FOU.mp3", "beat.txt", "beat.mp3x", "beatmp3", ".beat.mp3",
                    ".hidden/beat.mp3", "sub/.beat.mp3"});
    QDir().mkpath(root + "/beat folder.mp3");

    const std::pair<QString, QStringList> cases[] = {
        {"beat", {"Beat It.mp3", "drumbeat.MP3"}},
        {"BEAT", {"Beat It.mp3", "drumbeat.MP3"}},
        {"\u00e9t\u00e9 f", {"\u00c9T\u00c9 FOU.mp3"}},
        {"  x", {"a  xy.mp3"}},
        // Only names are matched, never the folder path above them.
        {QFileInfo(root).fileName().left(5), {}},
    };
    for (const auto& [keyword, names] : cases) {
        const SearchResults r = scan(root, keyword);
        EXPECT_EQ(std::pair(sorted(r.names), r.mp3Total), std::pair(names, 6)) << keyword.toStdString();
    }
}

TEST_F(ScanFolderTest, NamesThatAreNotUtf8AreCountedButLeftOutAndAMissingStartFolderFindsNothing) {
    const QByteArray encoded = QFile::encodeName(root);
    touchAll(root, {"beat ok.mp3"});
    ASSERT_EQ(::mkdir((encoded + "/map\xfe").constData(), 0700), 0);
    for (const QByteArray& name :
         {encoded + "/beat\xff.mp3", encoded + "/map\xfe/beat.mp3", encoded + "/map\xfe/x.mp3"}) {
        ASSERT_TRUE(std::ofstream(name.constData()).good());
    }
    const SearchResults r = scan(root, "beat");
    EXPECT_EQ(std::tuple(r.paths, r.unreadable, r.mp3Total),
              std::tuple(QStringList{root + "/beat ok.mp3"}, 2, 4));
    std::filesystem::remove_all(encoded.constData()); // QTemporaryDir cannot name them

    touchAll(root, {"file.mp3"});
    for (const QString& start : {root + "/nowhere", QString(), QString("C:/mp3"), root + "/file.mp3"}) {
        const SearchResults none = scan(start, "file");
        EXPECT_TRUE(none.paths.isEmpty() && none.mp3Total == 0) << start.toStdString();
    }

    // The folder from the path caption: blanks that belong to an existing folder's name stay.
    ASSERT_TRUE(QDir(root).mkdir("met blank "));
    const QString blankEnd = root + "/met blank ";
    EXPECT_EQ(search::folderFromCaption(search::captionForFolder(blankEnd)), blankEnd);
    EXPECT_EQ(search::folderFromCaption("  " + root + "  "), root);
}

TEST_F(ScanFolderTest, LinksAreFollowedButLoopsEndAndKernelFileSystemsAreSkipped) {
    QTemporaryDir elsewhere;
    touchAll(root, {"real.mp3", "a/inner.mp3"});
    link(root, root + "/a/back to root");
    link(root + "/a", root + "/a/self");
    link("../real.mp3", root + "/a/linked.mp3");
    link(root + "/gone.mp3", root + "/broken.mp3");
    touchAll(elsewhere.path(), {"outside.mp3"});
    link(elsewhere.path(), root + "/more music");
    ASSERT_EQ(mkfifo(QFile::encodeName(root + "/pipe.mp3").constData(), 0600), 0);
    // /proc/self/cwd leads back into this tree; it must not show its files a second time.
    link("/proc", root + "/processes");
    ASSERT_TRUE(QDir::setCurrent(root));

    const SearchResults r = scan(root, ".mp3");
    QDir::setCurrent(QDir::tempPath());
    EXPECT_EQ(sorted(r.names), (QStringList{"inner.mp3", "linked.mp3", "outside.mp3", "real.mp3"}));
    EXPECT_EQ(r.mp3Total, 4);
    EXPECT_EQ(scan("/proc", ".mp3").mp3Total, 0);
}

TEST(Delay, WaitsWhileHandlingEventsWithoutSpinningAndEndsWhenTheProgramQuits) {
    QTimer::singleShot(0, [&] {
        bool timerFired = false;
        QTimer::singleShot(50, [&] { timerFired = true; });
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpuBefore = std::clock();
        search::Delay(0.4);
        EXPECT_TRUE(timerFired);
        EXPECT_GE(clock.elapsed(), 400);
        EXPECT_LT(clock.elapsed(), 1500);
        EXPECT_LT(std::clock() - cpuBefore, CLOCKS_PER_SEC / 10) << "the wait must not spin the processor";
        // Quitting during a wait is not held up for the rest of it.
        QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
        clock.restart();
        search::Delay(5.0);
        EXPECT_LT(clock.elapsed(), 2000);
    });
    QCoreApplication::exec();
}
