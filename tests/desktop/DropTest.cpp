// Files and folders dropped from a file manager onto the playlist, as synthetic drop events.
#include "support/MainWindow.h"

#include <QDropEvent>
#include <QMimeData>

using namespace Qt::StringLiterals;
using namespace testsupport;

namespace {

class PlaylistDropTest : public testsupport::MainWindowTest {
protected:
    // Drags `urls` (or without them `text`) over List2 and drops them; false when List2 refused the drag.
    bool drop(const QList<QUrl>& urls, const QString& text = {}) {
        QWidget* viewport = m_main->controls().List2->viewport();
        EXPECT_TRUE(viewport->acceptDrops());
        QMimeData data;
        urls.isEmpty() ? data.setText(text) : data.setUrls(urls);
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
};

TEST_F(PlaylistDropTest, FolderAndSongsAppendInOrderWhilePlayingAndTheRestIsCounted) {
    ASSERT_TRUE(drop({QUrl::fromLocalFile(song(u"Eerst.mp3"_s))}));
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
    EXPECT_EQ(playlistNames(), QStringList({u"Eerst"_s, u"A"_s, u"b"_s, u"c"_s, u"z"_s, u"Y"_s}));
    EXPECT_EQ(playlist().entry(1).fullPath, m_songs.filePath(u"map/A.MID"_s));
    EXPECT_EQ(playlist().entry(5).fullPath, m_songs.filePath(u"Y.Mp3"_s));
    EXPECT_EQ(m_main->controls().Label10->text(), u"6 Songs in de playlist"_s);
    EXPECT_EQ(m_main->controls().InfoLabel->text(),
              u"2 bestanden overgeslagen: alleen MP3- en MIDI-bestanden en mappen gaan in de playlist."_s);

    // Text without file names is not taken; a full playlist takes what fits and says so.
    EXPECT_FALSE(drop({}, u"lied.mp3"_s));
    QVector<PlaylistEntry> filler(PlaylistModel::kMaxEntries - 8, PlaylistEntry{u"x"_s, u"/x.mp3"_s});
    playlist().appendMany(filler);
    ModalAnswerer answerer;
    ASSERT_TRUE(drop({QUrl::fromLocalFile(folder)}));
    EXPECT_TRUE(QTest::qWaitFor([&answerer] { return !answerer.seen().isEmpty(); }, 5000));
    EXPECT_EQ(playlist().count(), PlaylistModel::kMaxEntries);
    EXPECT_EQ(playlist().entries().back().displayName, u"b"_s);
    EXPECT_EQ(answerer.texts().value(0), u"Tunara|De playlist is vol: er passen hoogstens 32767 songs "
                                         u"in. 1 van de 3 songs zijn niet toegevoegd.");
}

} // namespace
