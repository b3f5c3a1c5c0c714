#include "playlist/ModalWatcher.h"
#include "support/FakePlayer.h"

#include "app/Main.h"
#include "appearance/PictureButton.h"
#include "browse/Browser.h"
#include "playlist/PlaylistModel.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

namespace {

class BrowserTest : public ::testing::Test {
protected:
    QTemporaryDir program;
    QTemporaryDir songs;
    FakePlayer player;
    std::unique_ptr<Main> main;

    void SetUp() override {
        ASSERT_TRUE(program.isValid() && songs.isValid());
        main = std::make_unique<Main>(program.path(), player);
    }

    const MainControls& c() const { return main->controls(); }
    Browser& browser() { return main->browser(); }
    PlaylistModel& playlist() { return main->playlist(); }

    // Creates empty files (the browser never reads them) in `folder` below the song folder.
    QString folderWith(const QString& folder, const QStringList& names) {
        const QString path = songs.filePath(folder);
        QDir().mkpath(path);
        for (const QString& name : names) {
            QFile f(path + u'/' + name);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        }
        return path;
    }

    QStringList list1() const { return c().List1Model->stringList(); }

    QList<int> selectedList1Rows() const {
        QList<int> rows;
        for (const QModelIndex& i : c().List1->selectionModel()->selectedRows()) {
            rows.append(i.row());
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    void showWindow() {
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    }

    QPoint list1RowCentre(int row) const {
        return c().List1->visualRect(c().List1Model->index(row)).center();
    }

    QString treePath(const QModelIndex& index) const {
        return static_cast<QFileSystemModel*>(c().Dir1->model())->filePath(index);
    }
};

TEST_F(BrowserTest, StartsInTheWorkingFolderWithAnEmptySongList) {
    EXPECT_EQ(c().TellerLabel->text(), QStringLiteral("0 Songs / Mp3, Midi"));
    EXPECT_TRUE(list1().isEmpty());
    EXPECT_EQ(c().Label10->text(), QStringLiteral("0 Songs in de playlist"));
    EXPECT_EQ(browser().dir1Path(), QDir::cleanPath(QDir::currentPath()));
    EXPECT_EQ(treePath(c().Dir1->currentIndex()), QDir::cleanPath(QDir::currentPath()));
    EXPECT_NE(c().Drive1->findData(QStringLiteral("/")), -1);
    EXPECT_TRUE(QDir::currentPath().startsWith(c().Drive1->currentData().toString()));
    EXPECT_EQ(c().List1->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_FALSE(c().File1->isVisibleTo(main.get()));
    EXPECT_EQ(c().SelectieKnop->toolTip(), QStringLiteral(" Copyeer song  "));
    EXPECT_EQ(c().SelectieAllKnop->toolTip(), QStringLiteral(" Copyeer alle songs "));
}

TEST_F(BrowserTest, CounterForNoneOneAndTwoSongs) {
    browser().setDir1Path(folderWith(QStringLiteral("leeg"), {QStringLiteral("notes.txt")}));
    EXPECT_EQ(c().TellerLabel->text(), QStringLiteral("0 Songs gevonden..."));
    browser().setDir1Path(folderWith(QStringLiteral("een"), {QStringLiteral("a.mp3")}));
    EXPECT_EQ(c().TellerLabel->text(), QStringLiteral("1 Song gevonden..."));
    browser().setDir1Path(
        folderWith(QStringLiteral("twee"), {QStringLiteral("a.mp3"), QStringLiteral("b.MID")}));
    EXPECT_EQ(c().TellerLabel->text(), QStringLiteral("2 Songs gevonden..."));
    EXPECT_EQ(c().Label10->text(), QStringLiteral("0 Songs in de playlist"));
}

TEST_F(BrowserTest, ListsSongsOnlyAndAddsThemWithNameAndPath) {
    const QString folder =
        folderWith(QStringLiteral("mix"), {QStringLiteral("third.wav"), QStringLiteral("second.mid"),
                                           QStringLiteral("first.MP3"), QStringLiteral(".hidden.mp3")});
    browser().setDir1Path(folder);
    EXPECT_EQ(list1(), QStringList({"first.MP3", "second.mid"}));
    EXPECT_EQ(c().File1Model->stringList(), list1());
    EXPECT_EQ(c().File1->property("path").toString(), folder);
    EXPECT_EQ(treePath(c().Dir1->currentIndex()), folder);
    EXPECT_EQ(c().TellerLabel->text(), QStringLiteral("2 Songs gevonden..."));

    c().SelectieAllKnop->click();
    if (qEnvironmentVariableIsSet("TUNARA_SHOTS")) {
        main->grab().save(qEnvironmentVariable("TUNARA_SHOTS") + QStringLiteral("/browse.png"));
    }
    ASSERT_EQ(playlist().count(), 2);
    EXPECT_EQ(playlist().entry(0), (PlaylistEntry{"first", folder + "/first.MP3"}));
    EXPECT_EQ(playlist().entry(1), (PlaylistEntry{"second", folder + "/second.mid"}));
    EXPECT_EQ(c().Label10->text(), QStringLiteral("2 Songs in de playlist"));
    EXPECT_EQ(c().List2->model()->index(1, 0).data().toString(), QStringLiteral("second"));
    EXPECT_EQ(c().BackList->model()->index(1, c().BackList->modelColumn()).data().toString(),
              folder + "/second.mid");
}

TEST_F(BrowserTest, OpeningAFolderInTheTreeByMouseAndKeyboard) {
    const QString parent = folderWith(QStringLiteral("ouder"), {QStringLiteral("top.mp3")});
    folderWith(QStringLiteral("ouder/A"), {QStringLiteral("a1.mp3"), QStringLiteral("a2.mid")});
    folderWith(QStringLiteral("ouder/B"), {QStringLiteral("b1.mp3")});
    folderWith(QStringLiteral("ouder/.verborgen"), {QStringLiteral("h.mp3")});
    showWindow();
    browser().setDir1Path(parent);
    auto* model = static_cast<QFileSystemModel*>(c().Dir1->model());
    const QModelIndex a = model->index(parent + "/A");
    ASSERT_TRUE(QTest::qWaitFor([&] {
        c().Dir1->scrollTo(a);
        return c().Dir1->visualRect(a).isValid() && model->rowCount(model->index(parent)) == 2;
    }));
    EXPECT_FALSE(model->index(parent + "/.verborgen").isValid());
    QTest::mouseClick(c().Dir1->viewport(), Qt::LeftButton, {}, c().Dir1->visualRect(a).center());
    EXPECT_EQ(browser().file1Path(), parent + "/A");
    EXPECT_EQ(list1(), QStringList({"a1.mp3", "a2.mid"}));
    EXPECT_EQ(c().TellerLabel->text(), QStringLiteral("2 Songs gevonden..."));

    c().Dir1->setFocus();
    QTest::keyClick(c().Dir1, Qt::Key_Down);
    EXPECT_EQ(browser().file1Path(), parent + "/B");
    EXPECT_EQ(c().TellerLabel->text(), QStringLiteral("1 Song gevonden..."));
}

TEST_F(BrowserTest, AtStartTheTreeBringsTheWorkingFolderIntoView) {
    for (int i = 0; i < 80; ++i) {
        folderWith(QStringLiteral("veel/d%1").arg(i, 2, 10, QChar(u'0')), {});
    }
    const QString target = songs.filePath(QStringLiteral("veel/d77"));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(target));
    main.reset();
    main = std::make_unique<Main>(program.path(), player);
    QDir::setCurrent(before);
    showWindow();
    auto* model = static_cast<QFileSystemModel*>(c().Dir1->model());
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const QModelIndex index = model->index(target);
        return c().Dir1->currentIndex() == index &&
               c().Dir1->viewport()->rect().contains(c().Dir1->visualRect(index));
    })) << "the working folder stays out of sight";
    EXPECT_TRUE(list1().isEmpty());
}

TEST_F(BrowserTest, DoubleClickAddsExactlyThatSong) {
    const QString folder = folderWith(QStringLiteral("dc"), {QStringLiteral("a.mp3"), QStringLiteral("b.mp3"),
                                                             QStringLiteral("Theme.mid")});
    showWindow();
    browser().setDir1Path(folder);
    QTest::mouseClick(c().List1->viewport(), Qt::LeftButton, {}, list1RowCentre(0));
    // A double-click: the first click selects the song alone, the second one opens it.
    QTest::mouseClick(c().List1->viewport(), Qt::LeftButton, {}, list1RowCentre(2));
    QTest::mouseDClick(c().List1->viewport(), Qt::LeftButton, {}, list1RowCentre(2));
    ASSERT_EQ(playlist().count(), 1);
    EXPECT_EQ(playlist().entry(0), (PlaylistEntry{"Theme", folder + "/Theme.mid"}));
    EXPECT_TRUE(selectedList1Rows().isEmpty());
    EXPECT_EQ(c().Label10->text(), QStringLiteral("1 Songs in de playlist"));
}

TEST_F(BrowserTest, SelectedSongsGoInListOrderAndAreDeselected) {
    const QString folder =
        folderWith(QStringLiteral("sel"), {QStringLiteral("s0.mp3"), QStringLiteral("s1.mp3"),
                                           QStringLiteral("s2.mp3"), QStringLiteral("s3.mp3")});
    showWindow();
    browser().setDir1Path(folder);
    QTest::mouseClick(c().List1->viewport(), Qt::LeftButton, {}, list1RowCentre(3));
    QTest::mouseClick(c().List1->viewport(), Qt::LeftButton, Qt::ControlModifier, list1RowCentre(0));
    QTest::mouseClick(c().List1->viewport(), Qt::LeftButton, Qt::ControlModifier, list1RowCentre(2));
    ASSERT_EQ(selectedList1Rows(), QList<int>({0, 2, 3}));

    QTest::mouseClick(c().SelectieKnop, Qt::LeftButton);
    ASSERT_EQ(playlist().count(), 3);
    EXPECT_EQ(playlist().entry(0).displayName, QStringLiteral("s0"));
    EXPECT_EQ(playlist().entry(1).displayName, QStringLiteral("s2"));
    EXPECT_EQ(playlist().entry(2).displayName, QStringLiteral("s3"));
    EXPECT_TRUE(selectedList1Rows().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(c().Label10->text(), QStringLiteral("3 Songs in de playlist"));

    // Nothing selected: nothing added.
    c().SelectieKnop->click();
    EXPECT_EQ(playlist().count(), 3);
    EXPECT_EQ(c().Label10->text(), QStringLiteral("3 Songs in de playlist"));
}

TEST_F(BrowserTest, AddAllKeepsTheSelectionAndAddsDuplicates) {
    const QString folder = folderWith(
        QStringLiteral("all"), {QStringLiteral("x.mp3"), QStringLiteral("y.mp3"), QStringLiteral("z.mid")});
    browser().setDir1Path(folder);
    c().List1->selectionModel()->select(c().List1Model->index(1), QItemSelectionModel::Select);
    c().SelectieAllKnop->click();
    c().SelectieAllKnop->click();
    ASSERT_EQ(playlist().count(), 6);
    EXPECT_EQ(playlist().entry(3), playlist().entry(0));
    EXPECT_EQ(playlist().entry(5).displayName, QStringLiteral("z"));
    EXPECT_EQ(selectedList1Rows(), QList<int>({1}));
    EXPECT_EQ(c().Label10->text(), QStringLiteral("6 Songs in de playlist"));

    // A new folder drops the selection and leaves the playlist alone.
    browser().setDir1Path(folderWith(QStringLiteral("ander"), {QStringLiteral("q.mp3")}));
    EXPECT_TRUE(selectedList1Rows().isEmpty());
    EXPECT_EQ(playlist().count(), 6);
    EXPECT_EQ(c().Label10->text(), QStringLiteral("6 Songs in de playlist"));
}

TEST_F(BrowserTest, EmptySongListMakesTheHandlersDoNothing) {
    browser().setDir1Path(folderWith(QStringLiteral("niets"), {}));
    SeenBox seen;
    auto watcher = answerBox(QMessageBox::Ok, &seen);
    browser().List1_DblClick();
    browser().SelectieKnop_Click();
    browser().SelectieAllKnop_Click();
    EXPECT_EQ(playlist().count(), 0);
    EXPECT_FALSE(seen.shown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BrowserTest, AddingWhilePlayingQueuesBehindTheCurrentSong) {
    playlist().append(QStringLiteral("nu"), QStringLiteral("/nu.mp3"));
    main->state().playing = true;
    browser().setDir1Path(folderWith(QStringLiteral("later"), {QStringLiteral("later.mp3")}));
    c().SelectieAllKnop->click();
    if (qEnvironmentVariableIsSet("TUNARA_SHOTS")) {
        main->grab().save(qEnvironmentVariable("TUNARA_SHOTS") + QStringLiteral("/browse.png"));
    }
    ASSERT_EQ(playlist().count(), 2);
    EXPECT_EQ(playlist().head().displayName, QStringLiteral("nu"));
    EXPECT_EQ(playlist().entry(1).displayName, QStringLiteral("later"));
}

TEST_F(BrowserTest, UnavailableDriveKeepsThePreviousFolder) {
    const QString folder = folderWith(QStringLiteral("vorige"), {QStringLiteral("blijft.mp3")});
    browser().setDir1Path(folder);
    c().Drive1->addItem(QStringLiteral("/kapot"), QStringLiteral("/kapot/bestaat/niet"));
    SeenBox seen;
    auto watcher = answerBox(QMessageBox::Ok, &seen);
    c().Drive1->setCurrentIndex(c().Drive1->count() - 1);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, QStringLiteral(" Drive-Error"));
    EXPECT_EQ(seen.text, QStringLiteral("Drive not available..."));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(c().Drive1->currentIndex(), c().Drive1->count() - 1);
    EXPECT_EQ(list1(), QStringList({"blijft.mp3"}));
    EXPECT_EQ(c().TellerLabel->text(), QStringLiteral("1 Song gevonden..."));
    EXPECT_EQ(browser().file1Path(), folder);
    EXPECT_EQ(browser().dir1Path(), folder);
}

TEST_F(BrowserTest, ChoosingADriveShowsItsFolderAndComesBackToTheLastOne) {
    const QString start = folderWith(QStringLiteral("start"), {QStringLiteral("s.mp3")});
    browser().setDir1Path(start);
    const int startDrive = c().Drive1->currentIndex();
    // A volume of our own: a folder offered as a drive.
    const QString volume =
        folderWith(QStringLiteral("volume"), {QStringLiteral("v1.mp3"), QStringLiteral("v2.mp3")});
    folderWith(QStringLiteral("buur"), {});
    c().Drive1->addItem(QStringLiteral("volume"), volume);
    c().Drive1->setCurrentIndex(c().Drive1->count() - 1);
    EXPECT_EQ(browser().dir1Path(), volume);
    EXPECT_EQ(list1(), QStringList({"v1.mp3", "v2.mp3"}));
    auto* model = static_cast<QFileSystemModel*>(c().Dir1->model());
    EXPECT_EQ(model->filePath(c().Dir1->rootIndex()), songs.path());
    EXPECT_EQ(treePath(c().Dir1->currentIndex()), volume);
    const QModelIndex neighbour = model->index(songs.filePath(QStringLiteral("buur")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(c().Dir1->rootIndex()) >= 3; }));
    EXPECT_TRUE(c().Dir1->isRowHidden(neighbour.row(), c().Dir1->rootIndex()));
    EXPECT_FALSE(c().Dir1->isRowHidden(model->index(volume).row(), c().Dir1->rootIndex()));

    c().Drive1->setCurrentIndex(startDrive);
    EXPECT_EQ(browser().dir1Path(), start);
    EXPECT_EQ(list1(), QStringList({"s.mp3"}));
}

TEST_F(BrowserTest, OpeningTheDriveListReadsTheVolumesAgainAndKeepsTheChoice) {
    const int volumes = c().Drive1->count();
    const QString chosen = c().Drive1->currentData().toString();
    c().Drive1->addItem(QStringLiteral("oud"), songs.path());
    QTest::mousePress(c().Drive1, Qt::LeftButton);
    QTest::mouseRelease(c().Drive1, Qt::LeftButton);
    EXPECT_EQ(c().Drive1->count(), volumes);
    EXPECT_EQ(c().Drive1->currentData().toString(), chosen);
    c().Drive1->hidePopup();
}

TEST_F(BrowserTest, AFolderWithMoreSongsThanAListHoldsShowsTheFirstOnes) {
    const QString folder = songs.filePath(QStringLiteral("groot"));
    QDir().mkpath(folder);
    for (int i = 0; i < PlaylistModel::kMaxEntries + 2; ++i) {
        QFile f(folder + QStringLiteral("/%1.mp3").arg(i, 5, 10, QChar(u'0')));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    SeenBox seen;
    auto watcher = answerBox(QMessageBox::Ok, &seen);
    browser().setDir1Path(folder);
    EXPECT_TRUE(seen.shown);
    EXPECT_TRUE(seen.text.contains(QStringLiteral("32769"))) << seen.text.toStdString();
    EXPECT_EQ(c().List1Model->rowCount(), PlaylistModel::kMaxEntries);
    EXPECT_EQ(c().List1Model->stringList().last(), QStringLiteral("32766.mp3"));
    EXPECT_EQ(c().TellerLabel->text(), QStringLiteral("32767 Songs gevonden..."));
}

TEST_F(BrowserTest, UnreadableFolderSaysSoAndShowsNoSongs) {
    browser().setDir1Path(folderWith(QStringLiteral("eerst"), {QStringLiteral("a.mp3")}));
    SeenBox seen;
    auto watcher = answerBox(QMessageBox::Ok, &seen);
    const QString missing = songs.filePath(QStringLiteral("weg"));
    browser().setDir1Path(missing);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, QStringLiteral("Tunara"));
    EXPECT_EQ(seen.text,
              QStringLiteral("De map '%1' kan niet worden gelezen: de map bestaat niet.").arg(missing));
    EXPECT_TRUE(list1().isEmpty());
    EXPECT_EQ(c().TellerLabel->text(), QStringLiteral("0 Songs gevonden..."));
}

TEST_F(BrowserTest, AFullPlaylistTakesWhatFitsAndSaysSo) {
    QVector<PlaylistEntry> filler(PlaylistModel::kMaxEntries - 1, PlaylistEntry{"f", "/f.mp3"});
    ASSERT_EQ(playlist().appendMany(filler), PlaylistModel::kMaxEntries - 1);
    browser().setDir1Path(folderWith(
        QStringLiteral("vol"), {QStringLiteral("p.mp3"), QStringLiteral("q.mp3"), QStringLiteral("r.mp3")}));
    c().List1->selectAll();
    SeenBox seen;
    auto watcher = answerBox(QMessageBox::Ok, &seen);
    c().SelectieKnop->click();
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.text.contains(QStringLiteral("32767"))) << seen.text.toStdString();
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(playlist().count(), PlaylistModel::kMaxEntries);
    EXPECT_EQ(playlist().entry(PlaylistModel::kMaxEntries - 1).displayName, QStringLiteral("p"));
    EXPECT_EQ(selectedList1Rows(), QList<int>({1, 2}));
    EXPECT_EQ(c().Label10->text(), QStringLiteral("32767 Songs in de playlist"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    SeenBox again;
    auto second = answerBox(QMessageBox::Ok, &again);
    c().SelectieAllKnop->click();
    EXPECT_TRUE(again.shown);
    EXPECT_EQ(playlist().count(), PlaylistModel::kMaxEntries);
}

} // namespace
