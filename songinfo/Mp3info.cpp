#include "songinfo/Mp3info.h"

#include "playback/MediaPlayer.h"
#include "songinfo/Id3v1Tag.h"
#include "songinfo/Mp3InfoText.h"

#include "widgets/MessageKit.h"

namespace songinfo {

void ShowMp3Info(QWidget* owner, MediaPlayer& player, const QString& path) {
    player.setAutoStart(false);
    std::optional<double> duration;
    if (player.setFileName(path)) {
        duration = player.duration();
    }

    Id3v1Tag tag;
    if (!songinfo::ReadId3Tag(path, tag)) {
        return;
    }

    // Tag fields are arbitrary bytes; the kit shows them as plain text.
    widgets::inform(owner, songinfo::infoLines(tag, duration).join(QLatin1Char('\n')), songinfo::kInfoTitle);
}

} // namespace songinfo
