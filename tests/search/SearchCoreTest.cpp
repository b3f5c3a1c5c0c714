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

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void touch(const QString& path) {
    ASSERT_TRUE(fixtures::writeFile(path, {})) << path.toStdString();
}

void touchAll(const QString& root, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        touch(root + QLatin1Char('/') + QString::fromUtf8(name));
    }
}

void link(const QString& target, const QString& path) {
    ASSERT_EQ(symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()), 0);
}

// Walks with and without trusting the listing's entry types; both must give the same result.
SearchResults scan(const QString& folder, const QString& keyword) {
    SearchResults fast;
    SearchResults queried;
    ScanFolder(folder, keyword, fast, ScanOptions{true});
    ScanFolder(folder, keyword, queried, ScanOptions{false});
    EXPECT_EQ(fast.paths, queried.paths);
    EXPECT_EQ(fast.mp3Total, queried.mp3Total);
    return fast;
}

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

} // namespace

TEST(SearchRules, KeywordNeedsThreeCharactersAndIsNotMp3) {
    for (const char* refused : {"", "ab", "mp3", "MP3", "Mp3", "mP3"}) {
        EXPECT_FALSE(SearchRules::keywordAccepted(QLatin1String(refused))) << refused;
    }
    for (const char* accepted : {"  x", "abc", " mp3", ".mp3"}) {
        EXPECT_TRUE(SearchRules::keywordAccepted(QLatin1String(accepted))) << accepted;
    }
}

TEST(ScanFolder, StartFolderFilesFirstThenEachSubfolderTreeInListingOrder) {
    QTemporaryDir tmp;
    const QString root = tmp.path();
    touchAll(root, {"top one.mp3", "top two.mp3", "alpha/deep/a2.mp3", "alpha/a1.mp3", "beta/b1.mp3"});
    QStringList expected;
    for (QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot); it.hasNext();) {
        it.next();
        expected += it.fileName() == QLatin1String("alpha")
                        ? QStringList{QStringLiteral("a1.mp3"), QStringLiteral("a2.mp3")}
                        : QStringList{QStringLiteral("b1.mp3")};
    }
    const SearchResults r = scan(root, QStringLiteral(".mp"));
    ASSERT_EQ(r.names.size(), 5);
    EXPECT_EQ(sorted(r.names.mid(0, 2)),
              (QStringList{QStringLiteral("top one.mp3"), QStringLiteral("top two.mp3")}));
    EXPECT_EQ(r.names.mid(2), expected);
    EXPECT_EQ(r.paths[0], root + QLatin1Char('/') + r.names[0]);
    EXPECT_TRUE(r.paths.contains(root + QStringLiteral("/alpha/deep/a2.mp3")));
}

TEST(ScanFolder, TotalCountsEveryVisibleMp3AndMatchesIgnoreLetterCaseButKeepBlanks) {
    QTemporaryDir tmp;
    const QString root = tmp.path();
    touchAll(root, {"Beat It.mp3", "sub/drumbeat.MP3", "calm.mp3", "sub/a  xy.mp3", "sub/a xy.mp3",
                    "\u00c9T\u00c9 FOU.mp3", "beat.txt", "beat.mp3x", "beatmp3", ".beat.mp3",
                    ".hidden/beat.mp3", "sub/.beat.mp3"});
    QDir().mkpath(root + QStringLiteral("/beat folder.mp3"));

    const struct {
        QString keyword;
        QStringList names;
    } cases[] = {
        {QStringLiteral("beat"), {QStringLiteral("Beat It.mp3"), QStringLiteral("drumbeat.MP3")}},
        {QStringLiteral("BEAT"), {QStringLiteral("Beat It.mp3"), QStringLiteral("drumbeat.MP3")}},
        {QStringLiteral("\u00e9t\u00e9 f"), {QStringLiteral("\u00c9T\u00c9 FOU.mp3")}},
        {QStringLiteral("  x"), {QStringLiteral("a  xy.mp3")}},
        // Only names are matched, never the folder path above them.
        {QFileInfo(root).fileName().left(5), {}},
    };
    for (const auto& c : cases) {
        const SearchResults r = scan(root, c.keyword);
        EXPECT_EQ(sorted(r.names), c.names) << c.keyword.toStdString();
        EXPECT_EQ(r.mp3Total, 6);
    }
}

TEST(ScanFolder, NamesThatAreNotUtf8AreCountedButLeftOut) {
    QTemporaryDir tmp;
    const QByteArray root = QFile::encodeName(tmp.path());
    touch(tmp.path() + QStringLiteral("/beat ok.mp3"));
    ASSERT_EQ(::mkdir((root + "/map\xfe").constData(), 0700), 0);
    for (const QByteArray& name :
         {root + "/beat\xff.mp3", root + "/map\xfe/beat.mp3", root + "/map\xfe/x.mp3"}) {
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    const SearchResults r = scan(tmp.path(), QStringLiteral("beat"));
    EXPECT_EQ(r.paths, QStringList{tmp.path() + QStringLiteral("/beat ok.mp3")});
    EXPECT_EQ(r.unreadable, 2);
    EXPECT_EQ(r.mp3Total, 4);
    // QTemporaryDir cannot name them.
    ::unlink((root + "/beat\xff.mp3").constData());
    ::unlink((root + "/map\xfe/beat.mp3").constData());
    ::unlink((root + "/map\xfe/x.mp3").constData());
    ::rmdir((root + "/map\xfe").constData());
}

TEST(ScanFolder, MissingStartFolderFindsNothing) {
    QTemporaryDir tmp;
    touch(tmp.path() + QStringLiteral("/file.mp3"));
    for (const QString& start : {tmp.path() + QStringLiteral("/nowhere"), QString(), QStringLiteral("C:/mp3"),
                                 tmp.path() + QStringLiteral("/file.mp3")}) {
        const SearchResults r = scan(start, QStringLiteral("file"));
        EXPECT_TRUE(r.paths.isEmpty()) << start.toStdString();
        EXPECT_EQ(r.mp3Total, 0);
    }
    EXPECT_EQ(SearchRules::foundCaption(0, 0), QStringLiteral(" Found 0 files of 0"));

    // The folder from the path caption: blanks that belong to an existing folder's name stay.
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("met blank ")));
    const QString blankEnd = tmp.path() + QStringLiteral("/met blank ");
    EXPECT_EQ(SearchRules::folderFromCaption(SearchRules::captionForFolder(blankEnd)), blankEnd);
    EXPECT_EQ(SearchRules::folderFromCaption(QStringLiteral("  ") + tmp.path() + QStringLiteral("  ")),
              tmp.path());
}

TEST(ScanFolder, LinksAreFollowedButLoopsEndAndKernelFileSystemsAreSkipped) {
    QTemporaryDir tmp;
    QTemporaryDir elsewhere;
    const QString root = tmp.path();
    touch(root + QStringLiteral("/real.mp3"));
    touch(root + QStringLiteral("/a/inner.mp3"));
    link(root, root + QStringLiteral("/a/back to root"));
    link(root + QStringLiteral("/a"), root + QStringLiteral("/a/self"));
    link(QStringLiteral("../real.mp3"), root + QStringLiteral("/a/linked.mp3"));
    link(root + QStringLiteral("/gone.mp3"), root + QStringLiteral("/broken.mp3"));
    touch(elsewhere.path() + QStringLiteral("/outside.mp3"));
    link(elsewhere.path(), root + QStringLiteral("/more music"));
    ASSERT_EQ(mkfifo(QFile::encodeName(root + QStringLiteral("/pipe.mp3")).constData(), 0600), 0);
    // /proc/self/cwd leads back into this tree; it must not show its files a second time.
    link(QStringLiteral("/proc"), root + QStringLiteral("/processes"));
    ASSERT_TRUE(QDir::setCurrent(root));

    const SearchResults r = scan(root, QStringLiteral(".mp3"));
    QDir::setCurrent(QDir::tempPath());
    EXPECT_EQ(sorted(r.names), (QStringList{QStringLiteral("inner.mp3"), QStringLiteral("linked.mp3"),
                                            QStringLiteral("outside.mp3"), QStringLiteral("real.mp3")}));
    EXPECT_EQ(r.mp3Total, 4);
    EXPECT_EQ(scan(QStringLiteral("/proc"), QStringLiteral(".mp3")).mp3Total, 0);
}

TEST(Delay, WaitsWhileHandlingEventsWithoutSpinningAndEndsWhenTheProgramQuits) {
    QTimer::singleShot(0, [&] {
        bool timerFired = false;
        QTimer::singleShot(50, [&] { timerFired = true; });
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpuBefore = std::clock();
        Delay(0.4);
        EXPECT_TRUE(timerFired);
        EXPECT_GE(clock.elapsed(), 400);
        EXPECT_LT(clock.elapsed(), 1500);
        EXPECT_LT(std::clock() - cpuBefore, CLOCKS_PER_SEC / 10) << "the wait must not spin the processor";
        // Quitting during a wait is not held up for the rest of it.
        QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
        clock.restart();
        Delay(5.0);
        EXPECT_LT(clock.elapsed(), 2000);
    });
    QCoreApplication::exec();
}
