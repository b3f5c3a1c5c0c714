#include "support/MainWindow.h"

#include "browse/Browser.h"
#include "browse/FolderTreeModel.h"

#include <QDir>
#include <QFileInfo>

#include <fstream>

#include <unistd.h>

using namespace testsupport;

namespace {

class BrowserTest : public MainWindowTest {
protected:
    Browser& browser() { return m_main->browser(); }
    FolderTreeModel* tree() const { return static_cast<FolderTreeModel*>(c().Dir1->model()); }
    QStringList list1() const { return c().List1Model->stringList(); }

    // Empty files: the browser never reads them.
    QString folderWith(const QString& folder, const QStringList& names) {
        QDir().mkpath(m_songs.filePath(folder));
        for (const QString& name : names) {
            song(folder + u'/' + name);
        }
        return m_songs.filePath(folder);
    }
    QList<int> selectedRows() const {
        QList<int> rows;
        std::ranges::transform(c().List1->selectionModel()->selectedRows(), std::back_inserter(rows),
                               &QModelIndex::row);
        std::ranges::sort(rows);
        return rows;
    }
    QPoint rowCentre(int row) const { return c().List1->visualRect(c().List1Model->index(row)).center(); }
    void clickRow(int row, Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(c().List1->viewport(), Qt::LeftButton, keys, rowCentre(row));
    }
};

TEST_F(BrowserTest, StartsInTheWorkingFolderAndBringsItIntoView) {
    for (int i = 0; i < 80; ++i) {
        folderWith(QStringLiteral("veel/d%1").arg(i, 2, 10, QChar(u'0')), {});
    }
    folderWith("veel/d77", {"a.mp3"});
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_songs.filePath("veel/d77")));
    const QString target = QDir::currentPath();
    startMain();
    QDir::setCurrent(before);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QModelIndex index = tree()->index(target);
        return c().Dir1->currentIndex() == index &&
               c().Dir1->viewport()->rect().contains(c().Dir1->visualRect(index));
    })) << "the working folder stays out of sight";
    EXPECT_EQ(browser().dir1Path(), target);
    // Only the opened ancestors are watched, never the folders merely read on the way.
    QStringList ancestors;
    for (QDir up(target); up.cdUp() && up.path().startsWith(tree()->rootPath());) {
        ancestors.append(up.path());
    }
    ancestors.sort();
    EXPECT_EQ(tree()->watchedFolders(), ancestors);
    EXPECT_EQ(c().TellerLabel->text(), "0 Songs / Mp3, Midi");
    EXPECT_TRUE(target.startsWith(c().Drive1->currentData().toString()));
    // A click on the highlighted working folder lists it, although it is already current.
    QTest::mouseClick(c().Dir1->viewport(), Qt::LeftButton, {},
                      c().Dir1->visualRect(tree()->index(target)).center());
    EXPECT_EQ(list1(), QStringList{"a.mp3"});
}

TEST_F(BrowserTest, ListsSongsAndAddAllKeepsTheSelectionAndAddsDuplicates) {
    browser().setDir1Path(folderWith("leeg", {"notes.txt"}));
    EXPECT_EQ(c().TellerLabel->text(), "0 Songs gevonden...");
    const QString folder = folderWith("mix", {"third.wav", "second.mid", "first.MP3", ".hidden.mp3"});
    browser().setDir1Path(folder);
    // The folder was made after its parent was read: the tree still finds it and marks it.
    EXPECT_EQ(list1() + QStringList({c().TellerLabel->text(), m_main->state().songFolder,
                                     tree()->filePath(c().Dir1->currentIndex())}),
              QStringList({"first.MP3", "second.mid", "2 Songs gevonden...", folder, folder}));

    m_main->state().playback.setMode(PlaybackState::Mode::Playing); // adding goes on while a song plays
    c().List1->selectionModel()->select(c().List1Model->index(1), QItemSelectionModel::Select);
    c().SelectieAllKnop->click();
    c().SelectieAllKnop->click();
    const PlaylistEntry first{"first", folder + "/first.MP3"};
    const PlaylistEntry second{"second", folder + "/second.mid"};
    EXPECT_EQ(playlist().entries(), QVector<PlaylistEntry>({first, second, first, second}));
    EXPECT_EQ(selectedRows(), QList<int>({1}));
    EXPECT_EQ(c().Label10->text(), "4 Songs in de playlist");
}

TEST_F(BrowserTest, OpeningAFolderInTheTreeByMouseAndKeyboard) {
    const QString parent = folderWith("ouder", {"top.mp3"});
    folderWith("ouder/A", {"a1.mp3", "a2.mid"});
    folderWith("ouder/B", {"b1.mp3"});
    browser().setDir1Path(parent);
    const QModelIndex a = tree()->index(parent + "/A");
    ASSERT_TRUE(QTest::qWaitFor([&] {
        c().Dir1->scrollTo(a);
        return c().Dir1->visualRect(a).isValid() && tree()->rowCount(tree()->index(parent)) == 2;
    }));
    QTest::mouseClick(c().Dir1->viewport(), Qt::LeftButton, {}, c().Dir1->visualRect(a).center());
    EXPECT_EQ(list1(), QStringList({"a1.mp3", "a2.mid"}));
    // The opened folder is not expanded: Down goes to its neighbour.
    c().Dir1->setFocus();
    QTest::keyClick(c().Dir1, Qt::Key_Down);
    EXPECT_EQ(browser().file1Path(), parent + "/B");
}

TEST_F(BrowserTest, SelectedSongsGoInListOrderAndADoubleClickAddsExactlyOne) {
    const QString folder = folderWith("sel", {"s0.mp3", "s1.mp3", "s2.mp3", "s3.mp3", "Theme.mid"});
    browser().setDir1Path(folder);
    clickRow(3);
    clickRow(0, Qt::ControlModifier);
    clickRow(2, Qt::ControlModifier);
    ASSERT_EQ(selectedRows(), QList<int>({0, 2, 3}));
    QTest::mouseClick(c().SelectieKnop, Qt::LeftButton);
    c().SelectieKnop->click(); // nothing selected any more: adds nothing
    EXPECT_EQ(playlistNames(), QStringList({"s0", "s2", "s3"}));
    EXPECT_TRUE(selectedRows().isEmpty() && !QApplication::overrideCursor());

    clickRow(0);
    clickRow(4);
    QTest::mouseDClick(c().List1->viewport(), Qt::LeftButton, {}, rowCentre(4));
    EXPECT_EQ(playlistNames(), QStringList({"s0", "s2", "s3", "Theme"}));
    EXPECT_EQ(playlist().entry(3).fullPath, folder + "/Theme.mid");
    EXPECT_TRUE(selectedRows().isEmpty());
    EXPECT_EQ(c().Label10->text(), "4 Songs in de playlist");
}

TEST_F(BrowserTest, DrivesAreReadAnewAndAnUnavailableOneKeepsThePreviousFolder) {
    const int volumes = c().Drive1->count();
    const QString chosen = c().Drive1->currentData().toString();
    c().Drive1->addItem("oud", m_songs.path());
    QTest::mouseClick(c().Drive1, Qt::LeftButton);
    EXPECT_EQ(c().Drive1->count(), volumes);
    EXPECT_EQ(c().Drive1->currentData().toString(), chosen);
    c().Drive1->hidePopup();

    const QString start = folderWith("start", {"s.mp3"});
    browser().setDir1Path(start);
    const int startDrive = c().Drive1->currentIndex();
    const QString volume = folderWith("volume", {"v1.mp3", "v2.mp3"});
    c().Drive1->addItem("volume", volume);
    c().Drive1->setCurrentIndex(c().Drive1->count() - 1);
    EXPECT_EQ(QStringList({browser().dir1Path(), tree()->rootPath()}) + list1(),
              QStringList({volume, volume, "v1.mp3", "v2.mp3"}));
    c().Drive1->setCurrentIndex(startDrive);
    EXPECT_EQ(browser().dir1Path(), start);

    c().Drive1->addItem("/kapot", "/kapot/bestaat/niet");
    const SeenBox seen =
        answering(QMessageBox::Ok, [&] { c().Drive1->setCurrentIndex(c().Drive1->count() - 1); });
    EXPECT_EQ(std::pair(seen.titleAndText(), int(seen.buttons)),
              std::pair(QString(" Drive-Error|Drive not available..."), int(QMessageBox::Ok)));
    EXPECT_EQ(QStringList({browser().dir1Path()}) + list1(), QStringList({start, "s.mp3"}));
}

TEST_F(BrowserTest, UnreadableFolderSaysWhyAndLeavesNothingToAdd) {
    // A song whose name is not UTF-8 could not be opened by its listed name: it is left out.
    const QString first = folderWith("eerst", {"a.mp3"});
    const QByteArray notUtf8 = QFile::encodeName(first) + "/b\xe9.mp3";
    ASSERT_TRUE(std::ofstream(notUtf8.constData()).good());
    browser().setDir1Path(first);
    ::unlink(notUtf8.constData());
    EXPECT_EQ(list1(), QStringList{"a.mp3"});
    EXPECT_EQ(c().TellerLabel->text(), "1 Song gevonden...");
    EXPECT_EQ(c().InfoLabel->text(), "1 bestand met een onleesbare naam overgeslagen.");

    const QString missing = m_songs.filePath("weg");
    EXPECT_EQ(answering(QMessageBox::Ok, [&] { browser().setDir1Path(missing); }).titleAndText(),
              "Tunara|De map '" + missing + "' kan niet worden gelezen: de map bestaat niet.");
    EXPECT_EQ(list1() + QStringList({c().TellerLabel->text()}), QStringList({"0 Songs gevonden..."}));

    EXPECT_FALSE(answering(QMessageBox::Ok, [&] {
                     browser().List1_DblClick();
                     browser().SelectieKnop_Click();
                     browser().SelectieAllKnop_Click();
                 }).shown);
    EXPECT_TRUE(playlist().isEmpty() && !QApplication::overrideCursor());
}

TEST_F(BrowserTest, ListsStopAtTheLimitAndSaySo) {
    const int max = PlaylistModel::kMaxEntries;
    const QString folder = folderWith("groot", {});
    for (int i = 0; i < max + 2; ++i) {
        ASSERT_TRUE(
            QFile(folder + QStringLiteral("/%1.mp3").arg(i, 5, 10, QChar(u'0'))).open(QIODevice::WriteOnly));
    }
    const SeenBox listed = answering(QMessageBox::Ok, [&] { browser().setDir1Path(folder); });
    EXPECT_TRUE(listed.text.contains("32769")) << listed.text.toStdString();
    EXPECT_EQ(std::tuple(int(list1().size()), list1().last(), c().TellerLabel->text()),
              std::tuple(max, QString("32766.mp3"), QString("32767 Songs gevonden...")));

    ASSERT_EQ(playlist().appendMany(QVector<PlaylistEntry>(max - 1, {"f", "/f.mp3"})), max - 1);
    c().List1->selectionModel()->select(QItemSelection(c().List1Model->index(0), c().List1Model->index(2)),
                                        QItemSelectionModel::Select);
    const SeenBox full = answering(QMessageBox::Ok, [&] { c().SelectieKnop->click(); });
    EXPECT_TRUE(full.text.contains("32767") && full.icon == QMessageBox::Warning) << full.text.toStdString();
    EXPECT_EQ(std::tuple(playlist().count(), playlist().entry(max - 1).displayName, selectedRows(),
                         c().Label10->text()),
              std::tuple(max, QString("00000"), QList<int>({1, 2}), QString("32767 Songs in de playlist")));
}

} // namespace
