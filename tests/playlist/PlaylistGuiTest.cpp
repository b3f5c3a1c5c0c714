#include "PermissionBits.h"
#include "playlist/Loadform.h"
#include "playlist/PlaylistController.h"
#include "playlist/PlaylistFile.h"
#include "support/MainWindow.h"

#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QListWidget>

using namespace testsupport;

namespace {

using Entries = QVector<PlaylistEntry>;
const Entries kThree{{"a", "/m/a.mp3"}, {"b", "/m/b.mid"}, {"c", "/m/c.mp3"}};

class PlaylistGuiTest : public MainWindowTest {
protected:
    bool save(const QString& name) { return m_main->playlistController().SavePlaylist(name); }
    void fill(const Entries& entries) {
        playlist().appendMany(entries);
        playlist().refreshCount();
    }
    QByteArray bytes(const QString& name) const {
        return fixtures::readFile(playlist::playlistFilePath(folder(), name));
    }
    void store(const QString& name, const QByteArray& content) {
        ASSERT_TRUE(fixtures::writeFile(playlist::playlistFilePath(folder(), name), content));
    }
    // Presses command bar button 6 and types `name` into the name box (Cancel without one).
    QString saveAs(const std::optional<QString>& name) {
        QString asked;
        auto watcher = onModal<QInputDialog>([&](QInputDialog* box) {
            asked = box->windowTitle() + u'|' + box->labelText() + u'|' + box->textValue();
            box->setTextValue(name.value_or(QString()));
            name ? box->accept() : box->reject();
        });
        c().KnopBottom[6]->click();
        return asked;
    }
    // Opens Loadform with command bar button 7, runs `act` on its list; onModal closes it if still open.
    void withLoadform(const std::function<void(Loadform*, QListWidget*)>& act) {
        bool opened = false;
        auto watcher = onModal<Loadform>([&](Loadform* form) {
            opened = true;
            act(form, form->findChild<QListWidget*>("List1"));
        });
        c().KnopBottom[7]->click();
        EXPECT_TRUE(opened);
    }
};

TEST_F(PlaylistGuiTest, RemoveAndClearAreInertWhilePlayingAndAskBeforeClearing) {
    EXPECT_FALSE(answering(QMessageBox::Yes, [&] { c().KnopR[2]->click(); }).shown) << "empty: no question";
    fill(kThree);
    QTest::mouseClick(c().List2->viewport(), Qt::LeftButton, {},
                      c().List2->visualRect(playlist().index(1, 0)).center());
    for (const auto mode : {PlaybackState::Mode::Playing, PlaybackState::Mode::Paused}) {
        m_main->state().playback.setMode(mode);
        EXPECT_FALSE(answering(QMessageBox::Yes, [&] {
                         c().KnopR[1]->click();
                         c().KnopR[2]->click();
                     }).shown);
        EXPECT_EQ(playlist().entries(), kThree);
    }
    m_main->state().playback.setMode(PlaybackState::Mode::Idle);
    c().KnopR[1]->click();
    EXPECT_EQ(playlist().entries(), Entries({{"a", "/m/a.mp3"}, {"c", "/m/c.mp3"}}));
    EXPECT_EQ(c().Label10->text(), "2 Songs in de playlist");
    EXPECT_TRUE(c().List2->selectionModel()->selectedIndexes().isEmpty());
    c().KnopR[1]->click(); // nothing selected: nothing removed
    EXPECT_EQ(playlist().count(), 2);

    const SeenBox no = answering(QMessageBox::No, [&] { c().KnopR[2]->click(); });
    EXPECT_EQ(std::tuple(no.titleAndText(), int(no.buttons), no.defaultButton, playlist().count()),
              std::tuple(QString(" Delete All|Wilt u de complete lijst leegmaken?"),
                         int(QMessageBox::Yes | QMessageBox::No), QMessageBox::Yes, 2));
    EXPECT_TRUE(answering(QMessageBox::Yes, [&] { c().KnopR[2]->click(); }).shown && playlist().isEmpty());
    EXPECT_EQ(c().Label10->text(), "0 Songs in de playlist");
}

TEST_F(PlaylistGuiTest, SaveAsksForANameAndOverwritesOnlyOnYes) {
    EXPECT_EQ(saveAs("Leeg"), "") << "an empty playlist asks nothing";
    fill(kThree);
    EXPECT_EQ(saveAs("Rock"), " Naam Playlist|Geef een naam voor deze playlist...|");
    const QByteArray three = "/m/a.mp3 ---/--- a\r\n/m/b.mid ---/--- b\r\n/m/c.mp3 ---/--- c\r\n";
    EXPECT_EQ(bytes("Rock"), three);
    saveAs("   ");
    saveAs(std::nullopt);
    saveAs(" Blues");
    EXPECT_EQ(playlist::storedPlaylistNames(folder()), QStringList({" Blues", "Rock"}));

    playlist().clear();
    fill({{"kort", "/k.mp3"}});
    const SeenBox no = answering(QMessageBox::No, [&] { EXPECT_FALSE(save("Rock")); });
    EXPECT_EQ(no.titleAndText(), " File exist|Naam 'Rock' bestaat al, overschrijven?");
    EXPECT_EQ(no.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(bytes("Rock"), three);
    EXPECT_TRUE(answering(QMessageBox::Yes, [&] { EXPECT_TRUE(save("Rock")); }).shown);
    EXPECT_EQ(bytes("Rock"), "/k.mp3 ---/--- kort\r\n");
}

TEST_F(PlaylistGuiTest, RefusedNamesUnstorableSongsAndFailedSavesAreTold) {
    fill(kThree);
    for (const QString& name : {QString("../buiten"), QString(".."), QString("."), QString("a/b"),
                                QString(245, u'x'), QString("a").append(QChar(0))}) {
        const SeenBox seen = answering(QMessageBox::Ok, [&] { EXPECT_FALSE(save(name)); });
        EXPECT_EQ(seen.title, "Tunara") << name.toStdString();
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
    }
    EXPECT_FALSE(QFileInfo::exists(playlist::playlistFolder(folder())));
    EXPECT_FALSE(QFileInfo::exists(folder() + "/buiten.lst"));

    ASSERT_TRUE(save("Rock"));
    fill({{"--- twee", "/m/een ---/--- twee.mp3"}});
    // Told before the overwrite question, which would otherwise get the Yes.
    const SeenBox unstorable = answering(QMessageBox::Yes, [&] { EXPECT_FALSE(save("Rock")); });
    EXPECT_TRUE(unstorable.text.contains("'--- twee'")) << unstorable.text.toStdString();
    EXPECT_EQ(bytes("Rock").count('\n'), 3);

    playlist().removeAt(3);
    QDir(playlist::playlistFolder(folder())).removeRecursively();
    QFile blocker(playlist::playlistFolder(folder())); // a file where the folder belongs
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const SeenBox failed = answering(QMessageBox::Ok, [&] { EXPECT_FALSE(save("Jazz")); });
    EXPECT_TRUE(failed.text.contains("(een deel van het pad is geen map); de playlist is niet opgeslagen"))
        << failed.text.toStdString();
}

TEST_F(PlaylistGuiTest, LoadformListsLoadsAndRoundTripsEveryNameAndTooLongAFileLoadsWhatFits) {
    const Entries entries{{"Één ---/--- twee", "/muziek/één.mp3"},
                          {"日本の歌", "//日本の歌.mid"},
                          {"Ça va", "/muziek/Ça va.mp3"},
                          {"Ça va", "/muziek/Ça va.mp3"}};
    fill(entries);
    ASSERT_TRUE(save("Wereld ünïcode"));
    store("Jazz", "/j/1.mid ---/--- jazz\r\n");
    withLoadform([&](Loadform* form, QListWidget* list) {
        EXPECT_EQ(form->windowTitle(), " Load Playlist");
        EXPECT_EQ(fixtures::rowTexts(*list->model()), QStringList({"Jazz", "Wereld ünïcode"}));
        EXPECT_EQ(list->geometry(), QRect(5, 6, 202, 256));
        EXPECT_EQ(list->palette().color(QPalette::Base), QColor(240, 240, 210));
        form->findChild<PictureButton*>("OkKnop")->click(); // nothing selected
        EXPECT_FALSE(form->isVisible());
    });
    withLoadform([&](Loadform* form, QListWidget* list) {
        list->setCurrentRow(0);
        form->findChild<PictureButton*>("CancelKnop")->click();
    });
    EXPECT_EQ(playlist().entries(), entries);

    withLoadform([&](Loadform*, QListWidget* list) {
        const QPoint jazz = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, jazz);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, jazz);
    });
    EXPECT_EQ(playlist().entries(), Entries({{"jazz", "/j/1.mid"}}));
    withLoadform([&](Loadform* form, QListWidget* list) {
        list->setCurrentRow(1);
        form->findChild<PictureButton*>("OkKnop")->click();
    });
    EXPECT_EQ(playlist().entries(), entries);
    EXPECT_EQ(c().Label10->text(), "4 Songs in de playlist");

    // A file that vanished after the window listed it, or cannot be read, keeps the playlist.
    const std::pair<std::function<void(const QString&)>, QString> spoiled[] = {
        {[](const QString& file) { QFile::remove(file); }, "het bestand of de map bestaat niet"},
        {[](const QString& file) { QFile::setPermissions(file, {}); }, "geen toestemming"}};
    for (const auto& [spoil, reason] : spoiled) {
        store("Jazz", "/j/1.mid ---/--- jazz\r\n");
        SeenBox told;
        withLoadform([&](Loadform* form, QListWidget* list) {
            list->setCurrentRow(0);
            spoil(playlist::playlistFilePath(folder(), "Jazz"));
            PermissionBits bits;
            told = answering(QMessageBox::Ok, [&] { form->findChild<PictureButton*>("OkKnop")->click(); });
        });
        EXPECT_EQ(told.titleAndText(), " Load Playlist|De playlist 'Jazz' kan niet worden geladen (" +
                                           reason + "). De huidige playlist is niet veranderd.");
        EXPECT_EQ(playlist().entries(), entries);
        EXPECT_EQ(c().Label10->text(), "4 Songs in de playlist");
    }

    QByteArray content;
    for (int i = 0; i < PlaylistModel::kMaxEntries + 3; ++i) {
        content += "/m/" + QByteArray::number(i) + ".mp3 ---/--- " + QByteArray::number(i) + "\r\n";
    }
    store("Lang", content);
    EXPECT_TRUE(answering(QMessageBox::Ok, [&] { m_main->playlistController().LoadPlaylist("Lang"); }).shown);
    EXPECT_EQ(c().Label10->text(), "32767 Songs in de playlist");
}

TEST_F(PlaylistGuiTest, DeleteKeyInLoadformAsksThenDeletes) {
    store("Rock", "");
    store("Jazz", "");
    withLoadform([&](Loadform*, QListWidget* list) {
        list->setFocus();
        EXPECT_FALSE(answering(QMessageBox::Yes, [&] { QTest::keyClick(list, Qt::Key_Delete); }).shown);
        list->setCurrentRow(0);
        const SeenBox no = answering(QMessageBox::No, [&] { QTest::keyClick(list, Qt::Key_Delete); });
        EXPECT_EQ(no.titleAndText(), " Delete|Wilt u het bestand 'Jazz' verwijderen?");
        EXPECT_EQ(no.defaultButton, QMessageBox::Yes);
        EXPECT_EQ(fixtures::rowTexts(*list->model()), QStringList({"Jazz", "Rock"}));
        EXPECT_TRUE(answering(QMessageBox::Yes, [&] { QTest::keyClick(list, Qt::Key_Delete); }).shown);
        EXPECT_EQ(fixtures::rowTexts(*list->model()), QStringList({"Rock"}));
        EXPECT_TRUE(list->selectedItems().isEmpty());
    });
    // A file that cannot be deleted keeps its name, and the user learns why.
    withLoadform([&](Loadform*, QListWidget* list) {
        list->setCurrentRow(0);
        const PermissionBits readOnly(playlist::playlistFolder(folder()));
        ModalAnswerer answerer({QMessageBox::Yes, QMessageBox::Ok});
        QTest::keyClick(list, Qt::Key_Delete);
        EXPECT_EQ(answerer.texts().value(1),
                  " Delete|Het bestand 'Rock' kan niet worden verwijderd (geen toestemming).");
        EXPECT_EQ(fixtures::rowTexts(*list->model()), QStringList({"Rock"}));
    });
    EXPECT_EQ(playlist::storedPlaylistNames(folder()), QStringList({"Rock"}));
}

} // namespace
