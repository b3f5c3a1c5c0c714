#include "EntryPrinter.h"
#include "ModalWatcher.h"
#include "support/FakePlayer.h"

#include "app/Main.h"
#include "appearance/PictureButton.h"
#include "playlist/Loadform.h"
#include "playlist/PlaylistController.h"
#include "playlist/PlaylistFile.h"
#include "playlist/PlaylistModel.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class LoadformTest : public ::testing::Test {
protected:
    QTemporaryDir program;
    FakePlayer player;
    std::unique_ptr<Main> main;

    void SetUp() override {
        main = std::make_unique<Main>(program.path(), player);
        store(QStringLiteral("Rock"), "/r/1.mp3 ---/--- een\r\n/r/2.mp3 ---/--- twee\r\n");
        store(QStringLiteral("Jazz"), "/j/1.mid ---/--- jazz\r\n");
        main->playlist().append(QStringLiteral("huidig"), QStringLiteral("/huidig.mp3"));
        main->playlist().refreshCount();
    }

    void store(const QString& name, const QByteArray& bytes) {
        QDir().mkpath(PlaylistFile::folderPath(program.path()));
        QFile f(PlaylistFile::filePath(program.path(), name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QStringList items(const QListWidget* list) const {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) {
            out.append(list->item(i)->text());
        }
        return out;
    }

    // Opens the window with command bar button 7 and runs `act` on it while it is shown.
    void withLoadform(const std::function<void(Loadform*, QListWidget*)>& act) {
        bool opened = false;
        auto watcher = onModal<Loadform>([&](Loadform* form) {
            opened = true;
            act(form, form->findChild<QListWidget*>(QStringLiteral("List1")));
            if (form->isVisible()) {
                form->findChild<PictureButton*>(QStringLiteral("CancelKnop"))->click();
            }
        });
        main->controls().KnopBottom[7]->click();
        ASSERT_TRUE(opened);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    void select(QListWidget* list, const QString& name) {
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list->setCurrentItem(found.first());
    }

    QVector<PlaylistEntry> current() { return main->playlist().entries(); }
    const QVector<PlaylistEntry> before{{"huidig", "/huidig.mp3"}};
};

TEST_F(LoadformTest, ShowsTheStoredPlaylistsInItsLayout) {
    withLoadform([&](Loadform* form, QListWidget* list) {
        EXPECT_EQ(form->objectName(), QStringLiteral("Loadform"));
        EXPECT_EQ(form->windowTitle(), QStringLiteral(" Load Playlist"));
        EXPECT_TRUE(form->isModal());
        EXPECT_EQ(items(list), QStringList({"Jazz", "Rock"}));
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
        EXPECT_EQ(list->geometry(), QRect(5, 6, 202, 256));
        EXPECT_EQ(list->palette().color(QPalette::Base), QColor(240, 240, 210));
        EXPECT_EQ(list->font().family(), QStringLiteral("Comic Sans MS"));
        EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("Label1"))->geometry(), QRect(4, 268, 206, 32));
        EXPECT_EQ(form->findChild<PictureButton*>(QStringLiteral("CancelKnop"))->geometry(),
                  QRect(6, 270, 101, 28));
        EXPECT_EQ(form->findChild<PictureButton*>(QStringLiteral("OkKnop"))->geometry(),
                  QRect(107, 270, 101, 28));
        EXPECT_GE(form->height(), 300);
        const QImage shot = form->grab().toImage();
        EXPECT_FALSE(shot.isNull());
        if (qEnvironmentVariableIsSet("TUNARA_SHOTS")) {
            shot.save(qEnvironmentVariable("TUNARA_SHOTS") + QStringLiteral("/loadform.png"));
        }
    });
    EXPECT_EQ(current(), before);
}

TEST_F(LoadformTest, OkLoadsTheSelectedPlaylist) {
    withLoadform([&](Loadform* form, QListWidget* list) {
        select(list, QStringLiteral("Rock"));
        form->findChild<PictureButton*>(QStringLiteral("OkKnop"))->click();
        EXPECT_FALSE(form->isVisible());
    });
    EXPECT_EQ(current(), QVector<PlaylistEntry>({{"een", "/r/1.mp3"}, {"twee", "/r/2.mp3"}}));
    EXPECT_EQ(main->controls().Label10->text(), QStringLiteral("2 Songs in de playlist"));
}

TEST_F(LoadformTest, DoubleClickOnANameLoadsIt) {
    withLoadform([&](Loadform* form, QListWidget* list) {
        const QRect jazz =
            list->visualItemRect(list->findItems(QStringLiteral("Jazz"), Qt::MatchExactly).first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, jazz.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, jazz.center());
        EXPECT_FALSE(form->isVisible());
    });
    EXPECT_EQ(current(), QVector<PlaylistEntry>({{"jazz", "/j/1.mid"}}));
}

TEST_F(LoadformTest, OkWithoutSelectionAndCancelChangeNothing) {
    withLoadform([&](Loadform* form, QListWidget*) {
        form->findChild<PictureButton*>(QStringLiteral("OkKnop"))->click();
        EXPECT_FALSE(form->isVisible());
    });
    EXPECT_EQ(current(), before);
    withLoadform([&](Loadform* form, QListWidget* list) {
        select(list, QStringLiteral("Jazz"));
        form->findChild<PictureButton*>(QStringLiteral("CancelKnop"))->click();
        EXPECT_FALSE(form->isVisible());
    });
    EXPECT_EQ(current(), before);
}

TEST_F(LoadformTest, FileThatVanishedBeforeOkEmptiesThePlaylist) {
    withLoadform([&](Loadform* form, QListWidget* list) {
        select(list, QStringLiteral("Rock"));
        QFile::remove(PlaylistFile::filePath(program.path(), QStringLiteral("Rock")));
        form->findChild<PictureButton*>(QStringLiteral("OkKnop"))->click();
    });
    EXPECT_TRUE(current().isEmpty());
    EXPECT_EQ(main->controls().Label10->text(), QStringLiteral("0 Songs in de playlist"));
}

TEST_F(LoadformTest, DeleteKeyAsksThenDeletes) {
    const QString jazz = PlaylistFile::filePath(program.path(), QStringLiteral("Jazz"));
    withLoadform([&](Loadform*, QListWidget* list) {
        SeenBox none;
        {
            auto watcher = answerBox(QMessageBox::Yes, &none);
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Delete);
        }
        EXPECT_FALSE(none.shown) << "nothing selected: no question";

        select(list, QStringLiteral("Jazz"));
        SeenBox no;
        {
            auto watcher = answerBox(QMessageBox::No, &no);
            QTest::keyClick(list, Qt::Key_Delete);
        }
        ASSERT_TRUE(no.shown);
        EXPECT_EQ(no.title, QStringLiteral(" Delete"));
        EXPECT_EQ(no.text, QStringLiteral("Wilt u het bestand 'Jazz' verwijderen?"));
        EXPECT_EQ(no.icon, QMessageBox::NoIcon);
        EXPECT_EQ(no.defaultButton, QMessageBox::Yes);
        EXPECT_TRUE(QFileInfo::exists(jazz));
        EXPECT_EQ(items(list), QStringList({"Jazz", "Rock"}));

        SeenBox yes;
        {
            auto watcher = answerBox(QMessageBox::Yes, &yes);
            QTest::keyClick(list, Qt::Key_Delete, Qt::ShiftModifier);
        }
        EXPECT_TRUE(yes.shown);
        EXPECT_FALSE(QFileInfo::exists(jazz));
        EXPECT_EQ(items(list), QStringList({"Rock"}));
        EXPECT_TRUE(list->selectedItems().isEmpty());
    });
    EXPECT_EQ(current(), before);
}

TEST_F(LoadformTest, NoPlaylistFolderGivesAnEmptyList) {
    QDir(PlaylistFile::folderPath(program.path())).removeRecursively();
    withLoadform([&](Loadform* form, QListWidget* list) {
        EXPECT_EQ(list->count(), 0);
        form->findChild<PictureButton*>(QStringLiteral("OkKnop"))->click();
    });
    EXPECT_EQ(current(), before);
}

} // namespace
