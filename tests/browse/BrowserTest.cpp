#include "support/FakePlayer.h"
#include "support/Modal.h"

#include "app/Main.h"
#include "browse/Browser.h"
#include "browse/FolderTreeModel.h"
#include "playlist/PlaylistModel.h"
#include "widgets/PictureButton.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace testsupport;

namespace {

class BrowserTest : public ::testing::Test {
protected:
    QTemporaryDir program;
    QTemporaryDir songs;
    FakePlayer player;
    std::unique_ptr<Main> main = std::make_unique<Main>(program.path(), player);

    const MainControls& c() const { return main->controls(); }
    Browser& browser() { return main->browser(); }
    PlaylistModel& playlist() { return main->playlist(); }
    FolderTreeModel* tree() const { return static_cast<FolderTreeModel*>(c().Dir1->model()); }
    QStringList list1() const { return c().List1Model->stringList(); }

    // Empty files: the browser never reads them.
    QString folderWith(const QString& folder, const QStringList& names) {
        const QString path = songs.filePath(folder);
        QDir().mkpath(path);
        for (const QString& name : names) {
            QFile f(path + u'/' + name);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        }
        return path;
    }
    QList<int> selectedRows() const {
        QList<int> rows;
        for (const QModelIndex& i : c().List1->selectionModel()->selectedRows()) {
            rows.append(i.row());
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    QStringList shownNames() {
        QStringList names;
        for (const PlaylistEntry& e : playlist().entries()) {
            names.append(e.displayName);
        }
        return names;
    }
    void showWindow() {
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
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
    ASSERT_TRUE(QDir::setCurrent(songs.filePath("veel/d77")));
    const QString target = QDir::currentPath();
    main.reset();
    main = std::make_unique<Main>(program.path(), player);
    QDir::setCurrent(before);
    showWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QModelIndex index = tree()->index(target);
        return c().Dir1->currentIndex() == index &&
               c().Dir1->viewport()->rect().contains(c().Dir1->visualRect(index));
    })) << "the working folder stays out of sight";
    EXPECT_EQ(browser().dir1Path(), target);
    // Only the opened ancestors are watched, never the folders merely read on the way.
    QStringList ancestors;
    for (QString up = QFileInfo(target).path(); up.startsWith(tree()->rootPath());
         up = QFileInfo(up).path()) {
        ancestors.append(up);
        if (up == u"/") {
            break;
        }
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
    EXPECT_EQ(list1(), QStringList({"first.MP3", "second.mid"}));
    EXPECT_EQ(c().TellerLabel->text(), "2 Songs gevonden...");
    EXPECT_EQ(main->state().songFolder, folder);
    // Made after its parent was read: the tree still finds it and marks it.
    EXPECT_EQ(tree()->filePath(c().Dir1->currentIndex()), folder);

    main->state().playback.setMode(PlaybackState::Mode::Playing); // adding goes on while a song plays
    c().List1->selectionModel()->select(c().List1Model->index(1), QItemSelectionModel::Select);
    c().SelectieAllKnop->click();
    c().SelectieAllKnop->click();
    const PlaylistEntry first{"first", folder + "/first.MP3"};
    const PlaylistEntry second{"second", folder + "/second.mid"};
    EXPECT_EQ(playlist().entries(), QVector<PlaylistEntry>({first, second, first, second}));
    EXPECT_EQ(selectedRows(), QList<int>({1}));
    EXPECT_EQ(c().Label10->text(), "4 Songs in de playlist");
    EXPECT_EQ(c().List2->model()->index(3, 0).data().toString(), "second");
}

TEST_F(BrowserTest, OpeningAFolderInTheTreeByMouseAndKeyboard) {
    const QString parent = folderWith("ouder", {"top.mp3"});
    folderWith("ouder/A", {"a1.mp3", "a2.mid"});
    folderWith("ouder/B", {"b1.mp3"});
    folderWith("ouder/.verborgen", {"h.mp3"});
    showWindow();
    browser().setDir1Path(parent);
    const QModelIndex a = tree()->index(parent + "/A");
    ASSERT_TRUE(QTest::qWaitFor([&] {
        c().Dir1->scrollTo(a);
        return c().Dir1->visualRect(a).isValid() && tree()->rowCount(tree()->index(parent)) == 2;
    }));
    EXPECT_FALSE(tree()->index(parent + "/.verborgen").isValid());
    QTest::mouseClick(c().Dir1->viewport(), Qt::LeftButton, {}, c().Dir1->visualRect(a).center());
    EXPECT_EQ(list1(), QStringList({"a1.mp3", "a2.mid"}));
    // The opened folder is not expanded: Down goes to its neighbour.
    c().Dir1->setFocus();
    QTest::keyClick(c().Dir1, Qt::Key_Down);
    EXPECT_EQ(browser().file1Path(), parent + "/B");
    EXPECT_EQ(c().TellerLabel->text(), "1 Song gevonden...");
}

TEST_F(BrowserTest, SelectedSongsGoInListOrderAndADoubleClickAddsExactlyOne) {
    const QString folder = folderWith("sel", {"s0.mp3", "s1.mp3", "s2.mp3", "s3.mp3", "Theme.mid"});
    showWindow();
    browser().setDir1Path(folder);
    clickRow(3);
    clickRow(0, Qt::ControlModifier);
    clickRow(2, Qt::ControlModifier);
    ASSERT_EQ(selectedRows(), QList<int>({0, 2, 3}));
    QTest::mouseClick(c().SelectieKnop, Qt::LeftButton);
    c().SelectieKnop->click(); // nothing selected any more: adds nothing
    EXPECT_EQ(shownNames(), QStringList({"s0", "s2", "s3"}));
    EXPECT_TRUE(selectedRows().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    clickRow(0);
    clickRow(4);
    QTest::mouseDClick(c().List1->viewport(), Qt::LeftButton, {}, rowCentre(4));
    EXPECT_EQ(shownNames(), QStringList({"s0", "s2", "s3", "Theme"}));
    EXPECT_EQ(playlist().entry(3).fullPath, folder + "/Theme.mid");
    EXPECT_TRUE(selectedRows().isEmpty());
    EXPECT_EQ(c().Label10->text(), "4 Songs in de playlist");
}

TEST_F(BrowserTest, DrivesAreReadAnewAndAnUnavailableOneKeepsThePreviousFolder) {
    const int volumes = c().Drive1->count();
    const QString chosen = c().Drive1->currentData().toString();
    c().Drive1->addItem("oud", songs.path());
    QTest::mousePress(c().Drive1, Qt::LeftButton);
    QTest::mouseRelease(c().Drive1, Qt::LeftButton);
    EXPECT_EQ(c().Drive1->count(), volumes);
    EXPECT_EQ(c().Drive1->currentData().toString(), chosen);
    c().Drive1->hidePopup();

    const QString start = folderWith("start", {"s.mp3"});
    browser().setDir1Path(start);
    const int startDrive = c().Drive1->currentIndex();
    const QString volume = folderWith("volume", {"v1.mp3", "v2.mp3"});
    c().Drive1->addItem("volume", volume);
    c().Drive1->setCurrentIndex(c().Drive1->count() - 1);
    EXPECT_EQ(browser().dir1Path(), volume);
    EXPECT_EQ(list1(), QStringList({"v1.mp3", "v2.mp3"}));
    EXPECT_EQ(tree()->rootPath(), volume);
    c().Drive1->setCurrentIndex(startDrive);
    EXPECT_EQ(browser().dir1Path(), start);

    c().Drive1->addItem("/kapot", "/kapot/bestaat/niet");
    const SeenBox seen =
        answering(QMessageBox::Ok, [&] { c().Drive1->setCurrentIndex(c().Drive1->count() - 1); });
    EXPECT_EQ(seen.title, " Drive-Error");
    EXPECT_EQ(seen.text, "Drive not available...");
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(browser().dir1Path(), start);
    EXPECT_EQ(list1(), QStringList({"s.mp3"}));
    EXPECT_EQ(c().TellerLabel->text(), "1 Song gevonden...");
}

TEST_F(BrowserTest, UnreadableFolderSaysWhyAndLeavesNothingToAdd) {
    // A song whose name is not UTF-8 could not be opened by its listed name: it is left out.
    const QString first = folderWith("eerst", {"a.mp3"});
    const QByteArray notUtf8 = QFile::encodeName(first) + "/b\xe9.mp3";
    const int fd = ::open(notUtf8.constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
    browser().setDir1Path(first);
    ::unlink(notUtf8.constData());
    EXPECT_EQ(list1(), QStringList{"a.mp3"});
    EXPECT_EQ(c().TellerLabel->text(), "1 Song gevonden...");
    EXPECT_EQ(c().InfoLabel->text(), "1 bestand met een onleesbare naam overgeslagen.");

    const QString missing = songs.filePath("weg");
    const SeenBox seen = answering(QMessageBox::Ok, [&] { browser().setDir1Path(missing); });
    EXPECT_EQ(seen.title, "Tunara");
    EXPECT_EQ(seen.text,
              QStringLiteral("De map '%1' kan niet worden gelezen: de map bestaat niet.").arg(missing));
    EXPECT_TRUE(list1().isEmpty());
    EXPECT_EQ(c().TellerLabel->text(), "0 Songs gevonden...");

    EXPECT_FALSE(answering(QMessageBox::Ok, [&] {
                     browser().List1_DblClick();
                     browser().SelectieKnop_Click();
                     browser().SelectieAllKnop_Click();
                 }).shown);
    EXPECT_EQ(playlist().count(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BrowserTest, ListsStopAtTheLimitAndSaySo) {
    const int max = PlaylistModel::kMaxEntries;
    const QString folder = folderWith("groot", {});
    for (int i = 0; i < max + 2; ++i) {
        QFile f(folder + QStringLiteral("/%1.mp3").arg(i, 5, 10, QChar(u'0')));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const SeenBox listed = answering(QMessageBox::Ok, [&] { browser().setDir1Path(folder); });
    EXPECT_TRUE(listed.text.contains("32769")) << listed.text.toStdString();
    EXPECT_EQ(list1().size(), max);
    EXPECT_EQ(list1().last(), "32766.mp3");
    EXPECT_EQ(c().TellerLabel->text(), "32767 Songs gevonden...");

    ASSERT_EQ(playlist().appendMany(QVector<PlaylistEntry>(max - 1, {"f", "/f.mp3"})), max - 1);
    c().List1->selectionModel()->select(QItemSelection(c().List1Model->index(0), c().List1Model->index(2)),
                                        QItemSelectionModel::Select);
    const SeenBox full = answering(QMessageBox::Ok, [&] { c().SelectieKnop->click(); });
    EXPECT_TRUE(full.text.contains("32767")) << full.text.toStdString();
    EXPECT_EQ(full.icon, QMessageBox::Warning);
    EXPECT_EQ(playlist().count(), max);
    EXPECT_EQ(playlist().entry(max - 1).displayName, "00000");
    EXPECT_EQ(selectedRows(), QList<int>({1, 2}));
    EXPECT_EQ(c().Label10->text(), "32767 Songs in de playlist");
}

} // namespace
