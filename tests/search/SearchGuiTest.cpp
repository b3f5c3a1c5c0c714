// The search window opened from the command bar and used as a person would: through its
// controls' names, answering the boxes it opens.

#include "app/Main.h"
#include "app/MainControls.h"
#include "appearance/PictureButton.h"
#include "playlist/PlaylistModel.h"
#include "search/SearchRules.h"
#include "support/FakePlayer.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

// Runs `handle` on the next modal window other than `under` as soon as it is open.
void whenModalOpens(QWidget* under, std::function<void(QWidget*)> handle) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, under, handle] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == under || !w->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        handle(w);
    });
    poll->start(5);
}

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    int buttons = 0;
};

class SearchWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_programDir.isValid());
        ASSERT_TRUE(m_music.isValid());
        m_main = std::make_unique<Main>(m_programDir.path(), m_player);
        m_main->show();
    }

    const MainControls& c() const { return m_main->controls(); }
    QString music(const QString& rest = QString()) const {
        return rest.isEmpty() ? m_music.path() : m_music.path() + QLatin1Char('/') + rest;
    }

    // Opens the window with command bar button 4 and runs `body` while it is open. Whatever
    // `body` does, the window is closed before this returns.
    void withZoeken(const std::function<void(QDialog&)>& body) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* z = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!z || z->objectName() != QLatin1String("Zoeken")) {
                ADD_FAILURE() << "the search window did not open modally";
                if (z) {
                    z->reject();
                }
                return;
            }
            body(*z);
            ran = true;
            if (z->isVisible()) {
                z->reject();
            }
        });
        c().KnopBottom[4]->click();
        EXPECT_TRUE(ran);
    }

    template <typename T> static T* child(QDialog& z, const char* name) {
        T* w = z.findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static QStringList lines(QDialog& z, const char* list) {
        return qobject_cast<QStringListModel*>(child<QListView>(z, list)->model())->stringList();
    }
    static void setKeyword(QDialog& z, const QString& keyword) {
        child<QLineEdit>(z, "Text1")->setText(keyword);
    }
    // Presses "Start" (or Enter in the keyword box); returns the box it opened, if any, answered
    // with OK.
    static std::optional<SeenBox> start(QDialog& z, bool byEnterKey = false) {
        std::optional<SeenBox> seen;
        auto* watcher = new QTimer;
        QObject::connect(watcher, &QTimer::timeout, [&seen, &z] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == &z || !box->isVisible()) {
                return;
            }
            seen = SeenBox{box->windowTitle(), box->text(), box->icon(),
                           static_cast<int>(box->buttons().size())};
            box->button(QMessageBox::Ok)->click();
        });
        watcher->start(5);
        if (byEnterKey) {
            QTest::keyClick(child<QLineEdit>(z, "Text1"), Qt::Key_Return);
        } else {
            child<QPushButton>(z, "ZoekKnop")->click();
        }
        delete watcher;
        return seen;
    }

    // Ten MP3 files, two of which hold "beat", plus files that are not MP3s.
    void makeTree() {
        touch(music(QStringLiteral("Beat one.mp3")));
        touch(music(QStringLiteral("calm.mp3")));
        touch(music(QStringLiteral("beat.txt")));
        for (int i = 0; i < 7; ++i) {
            touch(music(QStringLiteral("sub/song %1.mp3").arg(i)));
        }
        touch(music(QStringLiteral("sub/deep/OFFBEAT.MP3")));
    }

    QTemporaryDir m_programDir;
    QTemporaryDir m_music;
    FakePlayer m_player;
    std::unique_ptr<Main> m_main;
};

} // namespace

TEST_F(SearchWindow, OpensWithInstructionsThatCanNeverBeAdded) {
    m_main->state().settings.searchFolder = music();
    withZoeken([&](QDialog& z) {
        EXPECT_EQ(z.windowTitle(), QStringLiteral(" Searching for Mp3 files"));
        EXPECT_EQ(child<QLabel>(z, "ZoekPath")->text(), QLatin1Char(' ') + music());
        EXPECT_EQ(child<QLineEdit>(z, "Text1")->text(), QStringLiteral("Trefwoord"));
        EXPECT_EQ(lines(z, "List1"), SearchRules::instructionLines());
        EXPECT_TRUE(lines(z, "List2").isEmpty());
        EXPECT_FALSE(child<QListView>(z, "List2")->isVisible());
        EXPECT_EQ(child<QPushButton>(z, "PathKnop")->toolTip(), QStringLiteral(" Path to Mp3 files "));
        EXPECT_EQ(child<QPushButton>(z, "ExitKnop")->toolTip(), QStringLiteral(" Exit and save Path "));
        EXPECT_EQ(child<QListView>(z, "List1")->toolTip(), QStringLiteral(" Dubbelklik is selecteren "));
        EXPECT_EQ(child<QPushButton>(z, "ExitKnop")->palette().color(QPalette::Button),
                  QColor(255, 192, 192));

        // Neither way of adding takes an instruction line.
        auto* list = child<QListView>(z, "List1");
        const QRect row = list->visualRect(list->model()->index(2, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
        child<QPushButton>(z, "SelectAllKnop")->click();
        EXPECT_EQ(m_main->playlist().count(), 0);
        EXPECT_EQ(c().Label10->text(), QStringLiteral("0 Songs in de playlist"));
        child<QPushButton>(z, "CancelKnop")->click();
    });
}

TEST_F(SearchWindow, SearchFillsBothListsAndTheCaptionUnderTheHourglass) {
    makeTree();
    m_main->state().settings.searchFolder = music();
    withZoeken([&](QDialog& z) {
        setKeyword(z, QStringLiteral("BEAT"));
        std::optional<Qt::CursorShape> during;
        QTimer::singleShot(300, [&] {
            if (const QCursor* cursor = QApplication::overrideCursor()) {
                during = cursor->shape();
            }
        });
        EXPECT_FALSE(start(z).has_value());
        EXPECT_EQ(during, Qt::WaitCursor) << "the hourglass stays during the one-second pause";
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);

        EXPECT_EQ(z.windowTitle(), QStringLiteral(" Found 2 files of 10"));
        EXPECT_EQ(lines(z, "List1"),
                  (QStringList{QStringLiteral("Beat one.mp3"), QStringLiteral("OFFBEAT.MP3")}));
        EXPECT_EQ(lines(z, "List2"), (QStringList{music(QStringLiteral("Beat one.mp3")),
                                                  music(QStringLiteral("sub/deep/OFFBEAT.MP3"))}));
        child<QPushButton>(z, "CancelKnop")->click();
    });
}

TEST_F(SearchWindow, RefusedKeywordsLeaveTheLastResultsAlone) {
    makeTree();
    m_main->state().settings.searchFolder = music();
    withZoeken([&](QDialog& z) {
        setKeyword(z, QStringLiteral("beat"));
        ASSERT_FALSE(start(z).has_value());
        const QStringList found = lines(z, "List1");
        const QString caption = z.windowTitle();
        for (const QString& keyword : {QStringLiteral("ab"), QString(), QStringLiteral("mP3")}) {
            setKeyword(z, keyword);
            const std::optional<SeenBox> box = start(z, keyword.isEmpty());
            ASSERT_TRUE(box.has_value()) << keyword.toStdString();
            EXPECT_EQ(box->title, QStringLiteral("Tunara"));
            EXPECT_EQ(box->text, QStringLiteral("Minimaal 3 tekens invoeren a.u.b."));
            EXPECT_EQ(box->icon, QMessageBox::NoIcon);
            EXPECT_EQ(box->buttons, 1);
            EXPECT_EQ(lines(z, "List1"), found);
            EXPECT_EQ(z.windowTitle(), caption);
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        }
        child<QPushButton>(z, "CancelKnop")->click();
    });
}

TEST_F(SearchWindow, MissingStartFolderFindsNothingWithoutAMessage) {
    m_main->state().settings.searchFolder = QStringLiteral("C:/mp3");
    withZoeken([&](QDialog& z) {
        setKeyword(z, QStringLiteral("anything"));
        EXPECT_FALSE(start(z).has_value());
        EXPECT_EQ(z.windowTitle(), QStringLiteral(" Found 0 files of 0"));
        EXPECT_TRUE(lines(z, "List1").isEmpty());
        // An empty result list adds nothing either.
        child<QPushButton>(z, "SelectAllKnop")->click();
        EXPECT_EQ(m_main->playlist().count(), 0);
        child<QPushButton>(z, "CancelKnop")->click();
    });
}

TEST_F(SearchWindow, SelectAllAndDoubleClickAppendToThePlaylist) {
    makeTree();
    m_main->state().settings.searchFolder = music();
    m_main->playlist().append(QStringLiteral("first"), QStringLiteral("/x/first.mp3"));
    m_main->playlist().refreshCount();
    withZoeken([&](QDialog& z) {
        setKeyword(z, QStringLiteral("beat"));
        ASSERT_FALSE(start(z).has_value());

        child<QPushButton>(z, "SelectAllKnop")->click();
        ASSERT_EQ(m_main->playlist().count(), 3);
        EXPECT_EQ(m_main->playlist().entry(1),
                  (PlaylistEntry{QStringLiteral("Beat one"), music(QStringLiteral("Beat one.mp3"))}));
        EXPECT_EQ(m_main->playlist().entry(2),
                  (PlaylistEntry{QStringLiteral("OFFBEAT"), music(QStringLiteral("sub/deep/OFFBEAT.MP3"))}));
        EXPECT_EQ(c().Label10->text(), QStringLiteral("3 Songs in de playlist"));
        EXPECT_TRUE(z.isVisible());

        auto* list = child<QListView>(z, "List1");
        const QRect row = list->visualRect(list->model()->index(1, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
        ASSERT_EQ(m_main->playlist().count(), 4);
        EXPECT_EQ(m_main->playlist().entry(3).displayName, QStringLiteral("OFFBEAT"));
        EXPECT_EQ(c().Label10->text(), QStringLiteral("4 Songs in de playlist"));
        // The window's own lists are left as they were.
        EXPECT_EQ(lines(z, "List1").size(), 2);
        EXPECT_EQ(z.windowTitle(), QStringLiteral(" Found 2 files of 10"));
        child<QPushButton>(z, "ExitKnop")->click();
    });
    // Songs added stay, whichever way the window closed.
    EXPECT_EQ(m_main->playlist().count(), 4);
}

TEST_F(SearchWindow, ClickingTheKeywordBoxClearsOnlyThePlaceholder) {
    withZoeken([&](QDialog& z) {
        auto* text = child<QLineEdit>(z, "Text1");
        QTest::mouseClick(text, Qt::LeftButton);
        EXPECT_EQ(text->text(), QString());
        text->setText(QStringLiteral("trefwoord"));
        QTest::mouseClick(text, Qt::LeftButton);
        EXPECT_EQ(text->text(), QStringLiteral("trefwoord"));
        text->setText(QStringLiteral("Trefwoord "));
        QTest::mouseClick(text, Qt::LeftButton);
        EXPECT_EQ(text->text(), QStringLiteral("Trefwoord "));
        child<QPushButton>(z, "CancelKnop")->click();
    });
}

TEST_F(SearchWindow, ChosenFolderIsStoredByExitOnlyAndShownAtTheNextOpening) {
    const QString old = music(QStringLiteral("old"));
    const QString chosen = music(QStringLiteral("chosen one"));
    QDir().mkpath(old);
    QDir().mkpath(chosen);
    m_main->state().settings.searchFolder = old;

    // Choose with "Path"; the browser shows its instruction. Dismissing the browser changes nothing.
    auto choose = [&](QDialog& z, const QString& folder) {
        bool prompted = false;
        whenModalOpens(&z, [&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            const auto* prompt = dialog->findChild<QLabel*>(QStringLiteral("PathPrompt"));
            prompted = dialog->windowTitle() == SearchRules::kFolderPrompt && prompt && prompt->isVisible() &&
                       prompt->text() == QStringLiteral("Selecteer de map waarin de Mp3 bestanden staan!");
            if (folder.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->setDirectory(QFileInfo(folder).path());
            dialog->selectFile(folder);
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            buttons->button(QDialogButtonBox::Open)->click();
        });
        child<QPushButton>(z, "PathKnop")->click();
        EXPECT_TRUE(prompted);
    };

    withZoeken([&](QDialog& z) {
        choose(z, QString());
        EXPECT_EQ(child<QLabel>(z, "ZoekPath")->text(), QLatin1Char(' ') + old);
        choose(z, chosen);
        EXPECT_EQ(child<QLabel>(z, "ZoekPath")->text(), QLatin1Char(' ') + chosen);
        child<QPushButton>(z, "CancelKnop")->click();
    });
    EXPECT_EQ(m_main->state().settings.searchFolder, old);

    withZoeken([&](QDialog& z) {
        EXPECT_EQ(child<QLabel>(z, "ZoekPath")->text(), QLatin1Char(' ') + old);
        choose(z, chosen);
        child<QPushButton>(z, "ExitKnop")->click();
    });
    EXPECT_EQ(m_main->state().settings.searchFolder, chosen);

    withZoeken([&](QDialog& z) {
        EXPECT_EQ(child<QLabel>(z, "ZoekPath")->text(), QLatin1Char(' ') + chosen);
        child<QPushButton>(z, "CancelKnop")->click();
    });
}

TEST_F(SearchWindow, ReopeningStartsAfresh) {
    makeTree();
    m_main->state().settings.searchFolder = music();
    withZoeken([&](QDialog& z) {
        setKeyword(z, QStringLiteral("song"));
        ASSERT_FALSE(start(z).has_value());
        EXPECT_EQ(z.windowTitle(), QStringLiteral(" Found 7 files of 10"));
        child<QPushButton>(z, "ExitKnop")->click();
    });
    withZoeken([&](QDialog& z) {
        EXPECT_EQ(z.windowTitle(), QStringLiteral(" Searching for Mp3 files"));
        EXPECT_EQ(lines(z, "List1"), SearchRules::instructionLines());
        EXPECT_TRUE(lines(z, "List2").isEmpty());
        EXPECT_EQ(child<QLineEdit>(z, "Text1")->text(), QStringLiteral("Trefwoord"));
        z.close(); // the window frame: like Cancel
    });
    EXPECT_EQ(m_main->state().settings.searchFolder, music());
}

TEST_F(SearchWindow, FullPlaylistTakesWhatFitsAndSaysSo) {
    makeTree();
    m_main->state().settings.searchFolder = music();
    QVector<PlaylistEntry> filler(PlaylistModel::kMaxEntries - 1,
                                  PlaylistEntry{QStringLiteral("x"), QStringLiteral("/x.mp3")});
    ASSERT_EQ(m_main->playlist().appendMany(filler), PlaylistModel::kMaxEntries - 1);
    withZoeken([&](QDialog& z) {
        setKeyword(z, QStringLiteral("beat"));
        ASSERT_FALSE(start(z).has_value());
        std::optional<SeenBox> seen;
        whenModalOpens(&z, [&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            seen = SeenBox{box->windowTitle(), box->text(), box->icon(),
                           static_cast<int>(box->buttons().size())};
            box->button(QMessageBox::Ok)->click();
        });
        child<QPushButton>(z, "SelectAllKnop")->click();
        ASSERT_TRUE(seen.has_value());
        EXPECT_EQ(seen->title, QStringLiteral("Tunara"));
        EXPECT_TRUE(seen->text.startsWith(QStringLiteral("De playlist is vol")));
        EXPECT_EQ(m_main->playlist().count(), PlaylistModel::kMaxEntries);
        EXPECT_EQ(m_main->playlist().entry(PlaylistModel::kMaxEntries - 1).displayName,
                  QStringLiteral("Beat one"));
        EXPECT_EQ(c().Label10->text(), QStringLiteral("32767 Songs in de playlist"));
        child<QPushButton>(z, "CancelKnop")->click();
    });
}
