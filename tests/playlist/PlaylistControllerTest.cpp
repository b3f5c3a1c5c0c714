#include "EntryPrinter.h"
#include "ModalWatcher.h"
#include "support/FakePlayer.h"

#include "app/Main.h"
#include "appearance/PictureButton.h"
#include "playlist/PlaylistController.h"
#include "playlist/PlaylistFile.h"
#include "playlist/PlaylistModel.h"

#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class PlaylistControllerTest : public ::testing::Test {
protected:
    QTemporaryDir program;
    FakePlayer player;
    std::unique_ptr<Main> main;

    void SetUp() override { main = std::make_unique<Main>(program.path(), player); }

    const MainControls& c() const { return main->controls(); }
    PlaylistModel& playlist() { return main->playlist(); }
    PlaylistController& controller() { return main->playlistController(); }
    QString stored(const QString& name) const { return PlaylistFile::filePath(program.path(), name); }

    void fill(const QVector<PlaylistEntry>& entries) {
        playlist().appendMany(entries);
        playlist().refreshCount();
    }
    void selectInList2(int row) {
        c().List2->selectionModel()->select(playlist().index(row, 0), QItemSelectionModel::ClearAndSelect);
    }
    // Presses command bar button 6 and answers the name box with `name` (or Cancel when null).
    bool saveAs(const std::optional<QString>& name, QString* label = nullptr, QString* title = nullptr) {
        bool asked = false;
        auto watcher = onModal<QInputDialog>([&](QInputDialog* box) {
            asked = true;
            if (label) {
                *label = box->labelText();
            }
            if (title) {
                *title = box->windowTitle();
            }
            EXPECT_TRUE(box->textValue().isEmpty());
            if (name) {
                box->setTextValue(*name);
                box->accept();
            } else {
                box->reject();
            }
        });
        c().KnopBottom[6]->click();
        return asked;
    }
};

const QVector<PlaylistEntry> kThree{{"a", "/m/a.mp3"}, {"b", "/m/b.mid"}, {"c", "/m/c.mp3"}};

TEST_F(PlaylistControllerTest, RemoveSelectedMovesLaterEntriesUpTogether) {
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    fill(kThree);
    QTest::mouseClick(c().List2->viewport(), Qt::LeftButton, {},
                      c().List2->visualRect(playlist().index(1, 0)).center());
    c().KnopR[1]->click();
    EXPECT_EQ(playlist().entries(), QVector<PlaylistEntry>({{"a", "/m/a.mp3"}, {"c", "/m/c.mp3"}}));
    EXPECT_EQ(c().Label10->text(), QStringLiteral("2 Songs in de playlist"));
    EXPECT_TRUE(c().List2->selectionModel()->selectedIndexes().isEmpty());

    // No selection: a second click removes nothing.
    c().KnopR[1]->click();
    EXPECT_EQ(playlist().count(), 2);

    // The head may go while stopped.
    selectInList2(0);
    c().KnopR[1]->click();
    EXPECT_EQ(playlist().head(), (PlaylistEntry{"c", "/m/c.mp3"}));
    EXPECT_EQ(c().Label10->text(), QStringLiteral("1 Songs in de playlist"));
}

TEST_F(PlaylistControllerTest, ClearAllAsksFirst) {
    SeenBox none;
    {
        auto watcher = answerBox(QMessageBox::Yes, &none);
        c().KnopR[2]->click();
    }
    EXPECT_FALSE(none.shown);

    fill(kThree);
    SeenBox no;
    {
        auto watcher = answerBox(QMessageBox::No, &no);
        c().KnopR[2]->click();
    }
    ASSERT_TRUE(no.shown);
    EXPECT_EQ(no.title, QStringLiteral(" Delete All"));
    EXPECT_EQ(no.text, QStringLiteral("Wilt u de complete lijst leegmaken?"));
    EXPECT_EQ(no.icon, QMessageBox::NoIcon);
    EXPECT_EQ(no.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(no.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(playlist().entries(), kThree);
    EXPECT_EQ(c().Label10->text(), QStringLiteral("3 Songs in de playlist"));

    SeenBox yes;
    {
        auto watcher = answerBox(QMessageBox::Yes, &yes);
        c().KnopR[2]->click();
    }
    EXPECT_TRUE(yes.shown);
    EXPECT_TRUE(playlist().isEmpty());
    EXPECT_EQ(c().Label10->text(), QStringLiteral("0 Songs in de playlist"));
}

TEST_F(PlaylistControllerTest, EditButtonsAreInertWhilePlayingOrPaused) {
    fill(kThree);
    selectInList2(1);
    SeenBox seen;
    auto watcher = answerBox(QMessageBox::Yes, &seen);
    for (const bool paused : {false, true}) {
        main->state().playing = true;
        main->state().paused = paused;
        c().KnopR[1]->click();
        c().KnopR[2]->click();
        EXPECT_EQ(playlist().entries(), kThree);
        EXPECT_FALSE(seen.shown);
    }
    main->state().playing = false;
    main->state().paused = false;
    c().KnopR[1]->click();
    EXPECT_EQ(playlist().count(), 2);
}

TEST_F(PlaylistControllerTest, SaveAsksForANameAndWritesTheFile) {
    SeenBox none;
    auto noBox = answerBox(QMessageBox::Ok, &none);
    EXPECT_FALSE(saveAs(QStringLiteral("Leeg"))) << "an empty playlist asks nothing";

    fill(kThree);
    QString label;
    QString title;
    ASSERT_TRUE(saveAs(QStringLiteral("Jazz"), &label, &title));
    EXPECT_EQ(label, QStringLiteral("Geef een naam voor deze playlist..."));
    EXPECT_EQ(title, QStringLiteral(" Naam Playlist"));
    EXPECT_EQ(readBytes(stored(QStringLiteral("Jazz"))),
              QByteArray("/m/a.mp3 ---/--- a\r\n/m/b.mid ---/--- b\r\n/m/c.mp3 ---/--- c\r\n"));

    ASSERT_TRUE(saveAs(QStringLiteral("   ")));
    ASSERT_TRUE(saveAs(std::nullopt));
    ASSERT_TRUE(saveAs(QStringLiteral(" Blues")));
    EXPECT_EQ(PlaylistFile::storedNames(program.path()), QStringList({" Blues", "Jazz"}));
    EXPECT_FALSE(none.shown);
    EXPECT_EQ(playlist().entries(), kThree);
}

TEST_F(PlaylistControllerTest, OverwriteNoKeepsTheFileAndYesReplacesItWhole) {
    fill(kThree);
    ASSERT_TRUE(controller().SavePlaylist(QStringLiteral("Rock")));
    const QByteArray before = readBytes(stored(QStringLiteral("Rock")));

    playlist().clear();
    fill({{QStringLiteral("kort"), QStringLiteral("/k.mp3")}});
    SeenBox no;
    {
        auto watcher = answerBox(QMessageBox::No, &no);
        EXPECT_FALSE(controller().SavePlaylist(QStringLiteral("Rock")));
    }
    ASSERT_TRUE(no.shown);
    EXPECT_EQ(no.title, QStringLiteral(" File exist"));
    EXPECT_EQ(no.text, QStringLiteral("Naam 'Rock' bestaat al, overschrijven?"));
    EXPECT_EQ(no.icon, QMessageBox::NoIcon);
    EXPECT_EQ(no.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(readBytes(stored(QStringLiteral("Rock"))), before);

    SeenBox yes;
    {
        auto watcher = answerBox(QMessageBox::Yes, &yes);
        EXPECT_TRUE(controller().SavePlaylist(QStringLiteral("Rock")));
    }
    EXPECT_TRUE(yes.shown);
    EXPECT_EQ(readBytes(stored(QStringLiteral("Rock"))), QByteArray("/k.mp3 ---/--- kort\r\n"));
}

TEST_F(PlaylistControllerTest, RefusedNamesAndFailedSavesAreTold) {
    fill(kThree);
    for (const QString& name : {QStringLiteral("../buiten"), QStringLiteral(".."), QStringLiteral("a/b")}) {
        SeenBox seen;
        {
            auto watcher = answerBox(QMessageBox::Ok, &seen);
            EXPECT_FALSE(controller().SavePlaylist(name));
        }
        EXPECT_TRUE(seen.shown) << name.toStdString();
        EXPECT_EQ(seen.title, QStringLiteral("Tunara"));
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
    }
    EXPECT_FALSE(QFileInfo::exists(PlaylistFile::folderPath(program.path())));
    EXPECT_FALSE(QFileInfo::exists(program.filePath(QStringLiteral("buiten.lst"))));

    // A Playlist "folder" that is a file: the save cannot happen and says so.
    QFile blocker(PlaylistFile::folderPath(program.path()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SeenBox failed;
    {
        auto watcher = answerBox(QMessageBox::Ok, &failed);
        EXPECT_FALSE(controller().SavePlaylist(QStringLiteral("Jazz")));
    }
    EXPECT_TRUE(failed.shown);
    EXPECT_TRUE(failed.text.contains(QStringLiteral("niet opgeslagen"))) << failed.text.toStdString();
}

TEST_F(PlaylistControllerTest, SongThatCannotBeStoredIsToldBeforeTheOverwriteQuestion) {
    fill(kThree);
    ASSERT_TRUE(controller().SavePlaylist(QStringLiteral("Rock")));
    const QByteArray before = readBytes(stored(QStringLiteral("Rock")));
    fill({{QStringLiteral("--- twee"), QStringLiteral("/m/een ---/--- twee.mp3")}});
    SeenBox seen;
    {
        auto watcher = answerBox(QMessageBox::Yes, &seen);
        EXPECT_FALSE(controller().SavePlaylist(QStringLiteral("Rock")));
    }
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.title, QStringLiteral("Tunara"));
    EXPECT_TRUE(seen.text.contains(QStringLiteral("'--- twee'"))) << seen.text.toStdString();
    EXPECT_EQ(readBytes(stored(QStringLiteral("Rock"))), before);
    EXPECT_EQ(playlist().count(), 4);
}

TEST_F(PlaylistControllerTest, SaveAndLoadRoundTrip) {
    const QVector<PlaylistEntry> entries{
        {QStringLiteral("Één ---/--- twee"), QStringLiteral("/muziek/één.mp3")},
        {QStringLiteral("日本の歌"), QStringLiteral("//日本の歌.mid")},
        {QStringLiteral("Ça va"), QStringLiteral("/muziek/Ça va.mp3")},
        {QStringLiteral("Ça va"), QStringLiteral("/muziek/Ça va.mp3")},
    };
    fill(entries);
    ASSERT_TRUE(controller().SavePlaylist(QStringLiteral("Wereld ünïcode")));
    playlist().clear();
    playlist().append(QStringLiteral("x"), QStringLiteral("/x.mp3"));
    controller().LoadPlaylist(QStringLiteral("Wereld ünïcode"));
    EXPECT_EQ(playlist().entries(), entries);
    EXPECT_EQ(c().Label10->text(), QStringLiteral("4 Songs in de playlist"));
}

TEST_F(PlaylistControllerTest, LoadingAVanishedFileEmptiesThePlaylist) {
    fill(kThree);
    controller().LoadPlaylist(QStringLiteral("Verdwenen"));
    EXPECT_TRUE(playlist().isEmpty());
    EXPECT_EQ(c().Label10->text(), QStringLiteral("0 Songs in de playlist"));
}

TEST_F(PlaylistControllerTest, LoadingTooLongAFileTakesWhatFitsAndSaysSo) {
    QByteArray bytes;
    for (int i = 0; i < PlaylistModel::kMaxEntries + 3; ++i) {
        bytes += "/m/" + QByteArray::number(i) + ".mp3 ---/--- " + QByteArray::number(i) + "\r\n";
    }
    QDir().mkpath(PlaylistFile::folderPath(program.path()));
    QFile f(stored(QStringLiteral("Lang")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    SeenBox seen;
    {
        auto watcher = answerBox(QMessageBox::Ok, &seen);
        controller().LoadPlaylist(QStringLiteral("Lang"));
    }
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(playlist().count(), PlaylistModel::kMaxEntries);
    EXPECT_EQ(c().Label10->text(), QStringLiteral("32767 Songs in de playlist"));
}

} // namespace
