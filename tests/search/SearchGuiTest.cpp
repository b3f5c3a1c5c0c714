// The search window opened from the command bar and used through its controls' names.

#include "search/SearchRules.h"
#include "support/MainWindow.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

using namespace testsupport;

namespace {

class SearchWindow : public MainWindowTest {
protected:
    // Opens the window with command bar button 4 and runs `body` while it is open.
    void withZoeken(const std::function<void(QDialog&)>& body) {
        bool opened = false;
        const auto window = onModal<QDialog>([&](QDialog* z) {
            opened = z->objectName() == "Zoeken";
            body(*z);
        });
        c().KnopBottom[4]->click();
        EXPECT_TRUE(opened);
    }

    QStringList lines(QDialog& z, const char* list) {
        return fixtures::rowTexts(*control<QListView>(list, &z)->model());
    }
    void doubleClickRow(QDialog& z, int row) {
        auto* list = control<QListView>("List1", &z);
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    // Types the keyword and presses "Start" (or Enter); returns the boxes that opened.
    QStringList search(QDialog& z, const QString& keyword, bool byEnterKey = false) {
        control<QLineEdit>("Text1", &z)->setText(keyword);
        ModalAnswerer answerer;
        byEnterKey ? QTest::keyClick(control<QLineEdit>("Text1", &z), Qt::Key_Return)
                   : control<QPushButton>("ZoekKnop", &z)->click();
        return answerer.texts();
    }
};

} // namespace

TEST_F(SearchWindow, InstructionsAreNeverAddedAndAMissingFolderFindsNothing) {
    m_main->state().settings.searchFolder = "C:/mp3";
    withZoeken([&](QDialog& z) {
        EXPECT_EQ(z.windowTitle(), " Searching for Mp3 files");
        EXPECT_EQ(control<QLabel>("ZoekPath", &z)->text(), " C:/mp3");
        QTest::mouseClick(control<QLineEdit>("Text1", &z), Qt::LeftButton);
        EXPECT_EQ(control<QLineEdit>("Text1", &z)->text(), QString()) << "a click clears the placeholder";
        EXPECT_EQ(lines(z, "List1"), search::instructionLines());
        doubleClickRow(z, 2);
        control<QPushButton>("SelectAllKnop", &z)->click();
        EXPECT_EQ(playlist().count(), 0);

        EXPECT_TRUE(search(z, "anything").isEmpty());
        EXPECT_EQ(lines(z, "List1") << z.windowTitle(), QStringList{" Found 0 files of 0"});
    });
}

TEST_F(SearchWindow, SearchFillsTheListRefusedKeywordsChangeNothingAndSongsAppendUntilFull) {
    // Three MP3 files, two of which hold "beat", and one file that is no MP3.
    for (const char* name : {"Beat one.mp3", "calm.mp3", "beat.txt", "sub/deep/OFFBEAT.MP3"}) {
        song(QLatin1String(name));
    }
    m_main->state().settings.searchFolder = m_songs.path();
    playlist().append("first", "/x/first.mp3");
    playlist().refreshCount();
    withZoeken([&](QDialog& z) {
        std::optional<Qt::CursorShape> during;
        QTimer::singleShot(300, [&] {
            if (const QCursor* cursor = QApplication::overrideCursor()) {
                during = cursor->shape();
            }
        });
        EXPECT_TRUE(search(z, "BEAT").isEmpty());
        EXPECT_EQ(during, Qt::WaitCursor) << "the hourglass stays during the one-second pause";
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        const QStringList found{"Beat one.mp3", "OFFBEAT.MP3", " Found 2 files of 3"}; // and the title
        EXPECT_EQ(lines(z, "List1") << z.windowTitle(), found);

        for (const QString& keyword : {QString("ab"), QString(), QString("mP3")}) {
            EXPECT_EQ(search(z, keyword, keyword.isEmpty()),
                      QStringList{"Tunara|Minimaal 3 tekens invoeren a.u.b."});
            EXPECT_EQ(lines(z, "List1") << z.windowTitle(), found);
        }
        control<QPushButton>("SelectAllKnop", &z)->click();
        EXPECT_EQ(c().Label10->text(), "3 Songs in de playlist");
        doubleClickRow(z, 1);
        const PlaylistEntry offbeat{"OFFBEAT", m_songs.filePath("sub/deep/OFFBEAT.MP3")};
        EXPECT_EQ(playlist().entries().mid(1),
                  (QVector<PlaylistEntry>{{"Beat one", m_songs.filePath("Beat one.mp3")}, offbeat, offbeat}));
        EXPECT_EQ(c().Label10->text(), "4 Songs in de playlist");

        // A full playlist takes what fits and says so.
        const QVector<PlaylistEntry> filler(PlaylistModel::kMaxEntries - 5, PlaylistEntry{"x", "/x.mp3"});
        ASSERT_EQ(playlist().appendMany(filler), PlaylistModel::kMaxEntries - 5);
        const SeenBox full =
            answering(QMessageBox::Ok, [&] { control<QPushButton>("SelectAllKnop", &z)->click(); });
        EXPECT_TRUE(full.titleAndText().startsWith("Tunara|De playlist is vol"));
        EXPECT_EQ(playlist().entry(PlaylistModel::kMaxEntries - 1).displayName, "Beat one");
        EXPECT_EQ(c().Label10->text(), "32767 Songs in de playlist");
        control<QPushButton>("ExitKnop", &z)->click();
    });
    EXPECT_EQ(playlist().count(), PlaylistModel::kMaxEntries);
}

TEST_F(SearchWindow, ChosenFolderIsStoredByExitOnly) {
    const QString old = m_songs.filePath("old");
    const QString chosen = m_songs.filePath("chosen one");
    ASSERT_TRUE(QDir().mkpath(old) && QDir().mkpath(chosen));
    m_main->state().settings.searchFolder = old;

    // Chooses with "Path" (an empty folder dismisses the chooser) and returns the path label.
    auto choose = [&](QDialog& z, const QString& folder) {
        bool prompted = false;
        ModalAnswerer answerer({QMessageBox::Ok}, [&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            auto* prompt = w->findChild<QLabel*>("PathPrompt");
            prompted = dialog && prompt && prompt->isVisible() && prompt->text() == search::kFolderPrompt;
            if (!dialog || folder.isEmpty()) {
                return void(w->close());
            }
            dialog->setDirectory(folder);
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
        });
        control<QPushButton>("PathKnop", &z)->click();
        EXPECT_TRUE(prompted);
        return control<QLabel>("ZoekPath", &z)->text();
    };

    withZoeken([&](QDialog& z) {
        EXPECT_EQ(choose(z, QString()), u' ' + old);
        EXPECT_EQ(choose(z, chosen), u' ' + chosen);
        control<QPushButton>("CancelKnop", &z)->click();
    });
    EXPECT_EQ(m_main->state().settings.searchFolder, old);
    withZoeken([&](QDialog& z) {
        EXPECT_EQ(control<QLabel>("ZoekPath", &z)->text(), u' ' + old);
        choose(z, chosen);
        control<QPushButton>("ExitKnop", &z)->click();
    });
    EXPECT_EQ(m_main->state().settings.searchFolder, chosen);
    withZoeken([&](QDialog& z) { EXPECT_EQ(control<QLabel>("ZoekPath", &z)->text(), u' ' + chosen); });
}
