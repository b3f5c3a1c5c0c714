#pragma once

#include <QString>

class MediaPlayer;
class QWidget;

namespace songinfo {

// Loads the file into the player (automatic start off, never played), reads its ID3v1 tag and
// shows the information box, modal over `owner`. A file without a tag shows nothing. The file
// stays loaded in the player afterwards. GUI thread only.
void ShowMp3Info(QWidget* owner, MediaPlayer& player, const QString& path);

} // namespace songinfo
