// Files and folders dropped from a file manager onto the playlist, as synthetic drop events.
#include "playlist/PlaylistModel.h"
#include "support/MainWindow.h"
#include "support/Modal.h"
#include "widgets/PictureButton.h"

#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QListView>
#include <QMimeData>

using namespace Qt::StringLiterals;
using namespace testsupport;

namespace {

class PlaylistDropTest : public testsupport::MainWindowTest {
protected:
    QString song(const QString& relative) {
        const QString path = m_songs.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return path;
    }
    // Drags `urls` over List2 and drops them; false when List2 refused the drag.
    bool drop(const QList<QUrl>& urls) {
        QWidget* viewport = m_main->controls().List2->viewport();
        EXPECT_TRUE(viewport->acceptDrops());
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent dropped(QPointF(20, 20), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                           Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &dropped);
        EXPECT_EQ(dropped.dropAction(), Qt::CopyAction);
        QCoreApplication::processEvents();
        return dropped.isAccepted();
    }
    QStringList names() const {
        QStringList list;
        for (const PlaylistEntry& e : m_main->playlist().entries()) {
            list << e.displayName;
        }
        return list;
    }

    QTemporaryDir m_songs;
};

TEST_F(PlaylistDropTest, FolderAndSongsAppendInOrderWhilePlayingAndTheRestIsCounted) {
    const QString playing = song(u"Eerst.mp3"_s);
    ASSERT_TRUE(drop({QUrl::fromLocalFile(playing)}));
    m_player.loadAll = true;
    m_main->controls().Knop[1]->click();
    ASSERT_TRUE(m_main->state().playback.isPlaying());

    for (const QString& name : {u"map/b.mp3"_s, u"map/A.MID"_s, u"map/c.mp3"_s, u"map/sub/d.mp3"_s}) {
        song(name);
    }
    song(u"map/leesmij.txt"_s);
    const QString folder = m_songs.filePath(u"map"_s) + u'/';
    const QList<QUrl> urls{QUrl::fromLocalFile(folder), QUrl::fromLocalFile(song(u"z.mid"_s)),
                           QUrl::fromLocalFile(song(u"tekst.txt"_s)), QUrl::fromLocalFile(song(u"Y.Mp3"_s)),
                           QUrl(u"https://www.example.org/lied.mp3"_s)};
    ASSERT_TRUE(drop(urls));
    EXPECT_EQ(names(), QStringList({u"Eerst"_s, u"A"_s, u"b"_s, u"c"_s, u"z"_s, u"Y"_s}));
    EXPECT_EQ(m_main->playlist().entry(1).fullPath, m_songs.filePath(u"map/A.MID"_s));
    EXPECT_EQ(m_main->playlist().entry(5).fullPath, m_songs.filePath(u"Y.Mp3"_s));
    EXPECT_EQ(m_main->controls().Label10->text(), u"6 Songs in de playlist"_s);
    EXPECT_EQ(m_main->controls().InfoLabel->text(),
              u"2 bestanden overgeslagen: alleen MP3- en MIDI-bestanden en mappen gaan in de playlist."_s);

    // Text without file names is not taken; a full playlist takes what fits and says so.
    QMimeData text;
    text.setText(u"lied.mp3"_s);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_main->controls().List2->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QVector<PlaylistEntry> filler(PlaylistModel::kMaxEntries - 8, PlaylistEntry{u"x"_s, u"/x.mp3"_s});
    m_main->playlist().appendMany(filler);
    SeenBox seen;
    auto watcher = onModal<QMessageBox>([&seen](QMessageBox* box) {
        seen.shown = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        box->accept();
    });
    ASSERT_TRUE(drop({QUrl::fromLocalFile(folder)}));
    EXPECT_TRUE(QTest::qWaitFor([&seen] { return seen.shown; }, 5000));
    EXPECT_EQ(m_main->playlist().count(), PlaylistModel::kMaxEntries);
    EXPECT_EQ(m_main->playlist().entries().back().displayName, u"b"_s);
    EXPECT_EQ(seen.title + u'|' + seen.text, u"Tunara|De playlist is vol: er passen hoogstens 32767 songs "
                                             u"in. 1 van de 3 songs zijn niet toegevoegd.");
}

} // namespace
