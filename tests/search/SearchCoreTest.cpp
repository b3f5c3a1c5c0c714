#include "search/Delay.h"
#include "search/ScanFolder.h"
#include "search/SearchRules.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <random>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Readable failure messages for texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

void link(const QString& target, const QString& path) {
    ASSERT_EQ(symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()), 0);
}

SearchResults scan(const QString& folder, const QString& keyword, bool useEntryType = true) {
    SearchResults r;
    ScanOptions options;
    options.useEntryType = useEntryType;
    ScanFolder(folder, keyword, r, options);
    return r;
}

// Subfolder names in the order the file system lists them (QDirIterator does not sort).
QStringList listedFolders(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names << it.fileName();
    }
    return names;
}

double cpuSeconds() {
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return static_cast<double>(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           static_cast<double>(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

} // namespace

TEST(SearchRules, KeywordNeedsThreeCharactersAndIsNotMp3) {
    EXPECT_FALSE(SearchRules::keywordAccepted(QString()));
    EXPECT_FALSE(SearchRules::keywordAccepted(QStringLiteral("ab")));
    for (const char* k : {"mp3", "MP3", "Mp3", "mP3"}) {
        EXPECT_FALSE(SearchRules::keywordAccepted(QLatin1String(k))) << k;
    }
    EXPECT_TRUE(SearchRules::keywordAccepted(QStringLiteral("  x")));
    EXPECT_TRUE(SearchRules::keywordAccepted(QStringLiteral("abc")));
    EXPECT_TRUE(SearchRules::keywordAccepted(QStringLiteral(" mp3")));
    EXPECT_TRUE(SearchRules::keywordAccepted(QStringLiteral(".mp3")));
    EXPECT_EQ(SearchRules::kKeywordMessage, QStringLiteral("Minimaal 3 tekens invoeren a.u.b."));
}

TEST(SearchRules, CaptionsAndNames) {
    EXPECT_EQ(SearchRules::foundCaption(3, 120), QStringLiteral(" Found 3 files of 120"));
    EXPECT_EQ(SearchRules::foundCaption(0, 0), QStringLiteral(" Found 0 files of 0"));
    EXPECT_EQ(SearchRules::folderFromCaption(QStringLiteral("  /music/a b  ")), QStringLiteral("/music/a b"));
    // Only blanks are trimmed.
    EXPECT_EQ(SearchRules::folderFromCaption(QStringLiteral(" \t/x")), QStringLiteral("\t/x"));
    EXPECT_EQ(SearchRules::folderFromCaption(QStringLiteral("   ")), QString());
    EXPECT_EQ(SearchRules::captionForFolder(QStringLiteral("C:/mp3")), QStringLiteral(" C:/mp3"));
    EXPECT_EQ(SearchRules::displayName(QStringLiteral("Song.MP3")), QStringLiteral("Song"));
    EXPECT_EQ(SearchRules::displayName(QStringLiteral("a.mp3")), QStringLiteral("a"));
    EXPECT_EQ(SearchRules::displayName(QStringLiteral("mp3")), QString());
}

TEST(SearchRules, InstructionLinesStartWithAnEmptyLine) {
    const QStringList lines = SearchRules::instructionLines();
    ASSERT_EQ(lines.size(), 7);
    EXPECT_TRUE(lines[0].isEmpty());
    EXPECT_EQ(lines[1],
              QStringLiteral(" 1. Selecteer met de button - Path - de map waarin de Mp3 bestanden staan,"));
    EXPECT_EQ(lines[4],
              QStringLiteral(
                  " 4. Selecteer de gevonden bestanden door dubbel op \u00e9\u00e9n bestand te klikken,"));
    EXPECT_EQ(lines[5],
              QStringLiteral("     of druk op de button - Select all - om ze allemaal te selecteren."));
    EXPECT_EQ(lines[6], QStringLiteral(" 5. Sluit dit venster met de button - Exit -"));
}

TEST(ScanFolder, StartFolderFirstThenEachSubfolderTreeInListingOrder) {
    QTemporaryDir tmp;
    const QString root = tmp.path();
    touch(root + QStringLiteral("/top one.mp3"));
    touch(root + QStringLiteral("/top two.mp3"));
    touch(root + QStringLiteral("/alpha/a1.mp3"));
    touch(root + QStringLiteral("/alpha/deep/a2.mp3"));
    touch(root + QStringLiteral("/alpha/a3.mp3"));
    touch(root + QStringLiteral("/beta/b1.mp3"));
    touch(root + QStringLiteral("/beta/deeper/still/b2.mp3"));

    const SearchResults r = scan(root, QStringLiteral(".mp"));
    ASSERT_EQ(r.names.size(), 7);
    ASSERT_EQ(r.paths.size(), 7);
    EXPECT_EQ(r.mp3Total, 7);
    for (qsizetype i = 0; i < r.names.size(); ++i) {
        EXPECT_TRUE(r.paths[i].endsWith(QLatin1Char('/') + r.names[i]));
        EXPECT_TRUE(QFileInfo::exists(r.paths[i]));
    }
    // The start folder's files come first.
    EXPECT_TRUE(r.names[0].startsWith(QStringLiteral("top")));
    EXPECT_TRUE(r.names[1].startsWith(QStringLiteral("top")));
    // Then the whole tree of the first listed subfolder, with its own files before its subfolder's.
    const QStringList subs = listedFolders(root);
    ASSERT_EQ(subs.size(), 2);
    const QString first = subs[0];
    const QStringList firstTree = first == QLatin1String("alpha")
                                      ? QStringList{QStringLiteral("a1.mp3"), QStringLiteral("a3.mp3")}
                                      : QStringList{QStringLiteral("b1.mp3")};
    const QString firstDeep =
        first == QLatin1String("alpha") ? QStringLiteral("a2.mp3") : QStringLiteral("b2.mp3");
    for (qsizetype i = 0; i < firstTree.size(); ++i) {
        EXPECT_TRUE(firstTree.contains(r.names[2 + i])) << r.names[2 + i].toStdString();
    }
    EXPECT_EQ(r.names[2 + firstTree.size()], firstDeep);
    EXPECT_EQ(r.paths[0], root + QLatin1Char('/') + r.names[0]);
}

TEST(ScanFolder, TotalCountsEveryMp3AndOnlyMatchesAreListed) {
    QTemporaryDir tmp;
    const QString root = tmp.path();
    for (int i = 0; i < 8; ++i) {
        touch(root + QStringLiteral("/sub%1/other %2.mp3").arg(i % 3).arg(i));
    }
    touch(root + QStringLiteral("/Beat It.mp3"));
    touch(root + QStringLiteral("/sub2/drumbeat.MP3"));
    // Not "*.mp3": neither counted nor found.
    touch(root + QStringLiteral("/beat.txt"));
    touch(root + QStringLiteral("/beat.mp3x"));
    touch(root + QStringLiteral("/beat.mp4"));
    touch(root + QStringLiteral("/beatmp3"));
    QDir().mkpath(root + QStringLiteral("/beat folder.mp3"));

    const SearchResults r = scan(root, QStringLiteral("beat"));
    EXPECT_EQ(r.mp3Total, 10);
    EXPECT_EQ(r.names.size(), 2);
    EXPECT_TRUE(r.names.contains(QStringLiteral("Beat It.mp3")));
    EXPECT_TRUE(r.names.contains(QStringLiteral("drumbeat.MP3")));
    EXPECT_EQ(SearchRules::foundCaption(r.names.size(), r.mp3Total), QStringLiteral(" Found 2 files of 10"));
}

TEST(ScanFolder, LetterCaseIsIgnoredOnBothSides) {
    QTemporaryDir tmp;
    const QString root = tmp.path();
    touch(root + QStringLiteral("/love song.mp3"));
    touch(root + QStringLiteral("/LOVE ME.MP3"));
    touch(root + QStringLiteral("/\u00e9t\u00e9 d'amour.mp3"));
    touch(root + QStringLiteral("/\u00c9T\u00c9 FOU.mp3"));

    EXPECT_EQ(scan(root, QStringLiteral("LOVE")).names.size(), 2);
    EXPECT_EQ(scan(root, QStringLiteral("love")).names.size(), 2);
    EXPECT_EQ(scan(root, QStringLiteral("\u00c9t\u00e9")).names.size(), 2);
    EXPECT_EQ(scan(root, QStringLiteral("\u00e9t\u00e9 f")).names,
              QStringList{QStringLiteral("\u00c9T\u00c9 FOU.mp3")});
    // A keyword that only matches across the folder path finds nothing: names alone are tested.
    EXPECT_TRUE(scan(root, QFileInfo(root).fileName().left(5)).names.isEmpty());
}

TEST(ScanFolder, BlanksInTheKeywordCount) {
    QTemporaryDir tmp;
    const QString root = tmp.path();
    touch(root + QStringLiteral("/a  xy.mp3"));
    touch(root + QStringLiteral("/a xy.mp3"));
    touch(root + QStringLiteral("/axy.mp3"));
    EXPECT_EQ(scan(root, QStringLiteral("  x")).names, QStringList{QStringLiteral("a  xy.mp3")});
    EXPECT_EQ(scan(root, QStringLiteral(".mp")).names.size(), 3);
}

TEST(ScanFolder, HiddenEntriesAreNeitherCountedNorEntered) {
    QTemporaryDir tmp;
    const QString root = tmp.path();
    touch(root + QStringLiteral("/song.mp3"));
    touch(root + QStringLiteral("/.song.mp3"));
    touch(root + QStringLiteral("/.hidden/song.mp3"));
    touch(root + QStringLiteral("/shown/.song.mp3"));
    touch(root + QStringLiteral("/shown/.deeper/song.mp3"));
    touch(root + QStringLiteral("/shown/song.mp3"));
    const SearchResults r = scan(root, QStringLiteral("song"));
    EXPECT_EQ(r.mp3Total, 2);
    EXPECT_EQ(r.paths,
              (QStringList{root + QStringLiteral("/song.mp3"), root + QStringLiteral("/shown/song.mp3")}));
}

TEST(ScanFolder, MissingOrEmptyStartFolderFindsNothing) {
    QTemporaryDir tmp;
    for (const QString& start :
         {tmp.path() + QStringLiteral("/nowhere"), QString(), QStringLiteral("C:/mp3"),
          tmp.path() + QStringLiteral("/file.mp3"), tmp.path() + QChar(u'\0') + QStringLiteral("x")}) {
        touch(tmp.path() + QStringLiteral("/file.mp3"));
        const SearchResults r = scan(start, QStringLiteral("file"));
        EXPECT_TRUE(r.names.isEmpty()) << start.toStdString();
        EXPECT_TRUE(r.paths.isEmpty());
        EXPECT_EQ(r.mp3Total, 0);
    }
}

TEST(ScanFolder, TrailingSeparatorIsKeptAsGiven) {
    QTemporaryDir tmp;
    touch(tmp.path() + QStringLiteral("/x.mp3"));
    const SearchResults r = scan(tmp.path() + QLatin1Char('/'), QStringLiteral("x.m"));
    EXPECT_EQ(r.paths, QStringList{tmp.path() + QStringLiteral("//x.mp3")});
    EXPECT_EQ(r.names, QStringList{QStringLiteral("x.mp3")});
}

TEST(ScanFolder, LinksAreFollowedButLoopsEnd) {
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

    const SearchResults r = scan(root, QStringLiteral(".mp3"));
    QStringList names = r.names;
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("inner.mp3"), QStringLiteral("linked.mp3"),
                                  QStringLiteral("outside.mp3"), QStringLiteral("real.mp3")}));
    EXPECT_EQ(r.mp3Total, 4);
}

TEST(ScanFolder, KernelFileSystemsAreNotEntered) {
    if (!QFileInfo(QStringLiteral("/proc/self")).isDir()) {
        GTEST_SKIP() << "no /proc here";
    }
    QTemporaryDir tmp;
    touch(tmp.path() + QStringLiteral("/mine.mp3"));
    link(QStringLiteral("/proc"), tmp.path() + QStringLiteral("/processes"));
    // /proc/self/cwd leads back to this very folder; it must not show the file a second time.
    ASSERT_TRUE(QDir::setCurrent(tmp.path()));
    const SearchResults r = scan(tmp.path(), QStringLiteral(".mp3"));
    const SearchResults proc = scan(QStringLiteral("/proc"), QStringLiteral(".mp3"));
    QDir::setCurrent(QDir::tempPath());
    EXPECT_EQ(r.paths, QStringList{tmp.path() + QStringLiteral("/mine.mp3")});
    EXPECT_EQ(proc.mp3Total, 0);
}

TEST(ScanFolder, EntryTypesGiveTheSameResultAsAttributeQueries) {
    QTemporaryDir tmp;
    const QString root = tmp.path();
    std::mt19937 random(7);
    QStringList folders{root};
    for (int i = 0; i < 60; ++i) {
        const QString parent = folders[static_cast<qsizetype>(random() % folders.size())];
        const QString folder =
            parent + (i % 9 == 0 ? QStringLiteral("/.dir%1") : QStringLiteral("/dir%1")).arg(i);
        QDir().mkpath(folder);
        folders << folder;
    }
    const char* names[] = {"song %1.mp3", "SONG %1.MP3", "note %1.txt", ".song %1.mp3", "mix %1.Mp3"};
    for (int i = 0; i < 400; ++i) {
        const QString folder = folders[static_cast<qsizetype>(random() % folders.size())];
        touch(folder + QLatin1Char('/') + QString::fromLatin1(names[random() % 5]).arg(i));
    }
    link(root, folders[5] + QStringLiteral("/loop"));
    link(folders[3] + QStringLiteral("/nothing"), folders[8] + QStringLiteral("/dangling.mp3"));

    const SearchResults fast = scan(root, QStringLiteral("song"), true);
    const SearchResults queried = scan(root, QStringLiteral("song"), false);
    EXPECT_GT(fast.names.size(), 50);
    EXPECT_EQ(fast.names, queried.names);
    EXPECT_EQ(fast.paths, queried.paths);
    EXPECT_EQ(fast.mp3Total, queried.mp3Total);
}

TEST(ScanFolder, UnreadableSubfolderContributesNothing) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
    QTemporaryDir tmp;
    const QString root = tmp.path();
    touch(root + QStringLiteral("/closed/in.mp3"));
    touch(root + QStringLiteral("/open/in.mp3"));
    ASSERT_TRUE(QFile::setPermissions(root + QStringLiteral("/closed"), QFileDevice::WriteOwner));
    const SearchResults r = scan(root, QStringLiteral("in."));
    QFile::setPermissions(root + QStringLiteral("/closed"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(r.paths, QStringList{root + QStringLiteral("/open/in.mp3")});
    EXPECT_EQ(r.mp3Total, 1);
}

TEST(Delay, WaitsWhileHandlingEventsWithoutBusyWaiting) {
    bool timerFired = false;
    QTimer::singleShot(50, [&] { timerFired = true; });
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = cpuSeconds();
    Delay(0.4);
    const qint64 elapsed = clock.elapsed();
    const double cpuUsed = cpuSeconds() - cpuBefore;
    EXPECT_TRUE(timerFired);
    EXPECT_GE(elapsed, 400);
    EXPECT_LT(elapsed, 1500);
    EXPECT_LT(cpuUsed, 0.1) << "the wait must not spin the processor";
}

TEST(Delay, NothingToWaitForReturnsAtOnce) {
    QElapsedTimer clock;
    clock.start();
    Delay(0.0);
    Delay(-1.0);
    Delay(std::nan(""));
    EXPECT_LT(clock.elapsed(), 50);
}

TEST(Delay, EndsEarlyWhenTheApplicationQuits) {
    // Quitting the program during the wait must not be held up for the rest of it.
    qint64 elapsed = -1;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(50, [] { QCoreApplication::exit(0); });
        QElapsedTimer clock;
        clock.start();
        Delay(5.0);
        elapsed = clock.elapsed();
    });
    QCoreApplication::exec();
    EXPECT_GE(elapsed, 0);
    EXPECT_LT(elapsed, 2000);
}
