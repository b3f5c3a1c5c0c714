#include "songinfo/Mp3info.h"

#include "playback/MediaPlayer.h"
#include "songinfo/Id3v1Tag.h"
#include "songinfo/Mp3InfoText.h"

#include <QMessageBox>

namespace Mp3info {

void ShowMp3Info(QWidget* owner, MediaPlayer& player, const QString& path) {
    player.setAutoStart(false);
    std::optional<double> duration;
    if (player.setFileName(path)) {
        duration = player.duration();
    }

    Id3v1Tag tag;
    if (!ReadId3Tag(path, tag)) {
        return;
    }

    QMessageBox box(owner);
    box.setObjectName(QStringLiteral("Mp3InfoBox"));
    box.setWindowTitle(Mp3InfoText::kTitle);
    box.setIcon(QMessageBox::NoIcon);
    // Tag fields are arbitrary bytes: never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(Mp3InfoText::lines(tag, duration).join(QLatin1Char('\n')));
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

} // namespace Mp3info
