#include "browse/SongNames.h"
#include "browse/Volumes.h"

#include <gtest/gtest.h>

namespace {

TEST(SongNames, CounterTexts) {
    EXPECT_EQ(QString::fromUtf16(SongNames::kTellerStart), QStringLiteral("0 Songs / Mp3, Midi"));
    EXPECT_EQ(SongNames::tellerText(0), QStringLiteral("0 Songs gevonden..."));
    EXPECT_EQ(SongNames::tellerText(1), QStringLiteral("1 Song gevonden..."));
    EXPECT_EQ(SongNames::tellerText(2), QStringLiteral("2 Songs gevonden..."));
    EXPECT_EQ(SongNames::tellerText(32767), QStringLiteral("32767 Songs gevonden..."));
}

TEST(SongNames, DisplayNameDropsTheLastFourCharacters) {
    EXPECT_EQ(SongNames::displayName(QStringLiteral("Intro.mp3")), QStringLiteral("Intro"));
    EXPECT_EQ(SongNames::displayName(QStringLiteral("Theme.mid")), QStringLiteral("Theme"));
    EXPECT_EQ(SongNames::displayName(QStringLiteral("a.b.MP3")), QStringLiteral("a.b"));
    EXPECT_EQ(SongNames::displayName(QStringLiteral("Café ---/--- x.mp3")), QStringLiteral("Café ---/--- x"));
    EXPECT_EQ(SongNames::displayName(QStringLiteral(".mp3")), QString());
    EXPECT_EQ(SongNames::displayName(QStringLiteral("x")), QString());
}

TEST(SongNames, FullPathIsAPlainJoin) {
    EXPECT_EQ(SongNames::fullPath(QStringLiteral("/music/jazz"), QStringLiteral("Intro.mp3")),
              QStringLiteral("/music/jazz/Intro.mp3"));
    EXPECT_EQ(SongNames::fullPath(QStringLiteral("/"), QStringLiteral("Intro.mp3")),
              QStringLiteral("//Intro.mp3"));
    EXPECT_EQ(SongNames::fullPath(QStringLiteral("/media/usb/"), QStringLiteral("a.mid")),
              QStringLiteral("/media/usb//a.mid"));
}

TEST(Volumes, OffersUserVolumesOnly) {
    EXPECT_TRUE(Volumes::isBrowsable(QStringLiteral("/"), "overlay"));
    EXPECT_TRUE(Volumes::isBrowsable(QStringLiteral("/"), "ext4"));
    EXPECT_TRUE(Volumes::isBrowsable(QStringLiteral("/media/jan/STICK"), "vfat"));
    EXPECT_TRUE(Volumes::isBrowsable(QStringLiteral("/run/media/jan/STICK"), "exfat"));
    EXPECT_TRUE(Volumes::isBrowsable(QStringLiteral("/home"), "btrfs"));
    EXPECT_TRUE(Volumes::isBrowsable(QStringLiteral("/tmp"), "tmpfs"));
    EXPECT_TRUE(Volumes::isBrowsable(QStringLiteral("/mnt/share"), "cifs"));

    EXPECT_FALSE(Volumes::isBrowsable(QStringLiteral("/proc"), "proc"));
    EXPECT_FALSE(Volumes::isBrowsable(QStringLiteral("/sys/fs/cgroup/cpu"), "cgroup"));
    EXPECT_FALSE(Volumes::isBrowsable(QStringLiteral("/dev/shm"), "tmpfs"));
    EXPECT_FALSE(Volumes::isBrowsable(QStringLiteral("/run/user/1000"), "tmpfs"));
    EXPECT_FALSE(Volumes::isBrowsable(QStringLiteral("/snap/core/17"), "squashfs"));
    EXPECT_FALSE(Volumes::isBrowsable(QStringLiteral("/var/lib/docker/overlay2/abc/merged"), "overlay"));
    EXPECT_FALSE(Volumes::isBrowsable(QStringLiteral("/data"), "overlay"));
    EXPECT_FALSE(Volumes::isBrowsable(QString(), "ext4"));
    // "/runner" is not under "/run".
    EXPECT_TRUE(Volumes::isBrowsable(QStringLiteral("/runner"), "ext4"));
}

TEST(Volumes, CaptionAddsTheNameWhereThereIsOne) {
    EXPECT_EQ(Volumes::caption(QStringLiteral("/"), QString()), QStringLiteral("/"));
    EXPECT_EQ(Volumes::caption(QStringLiteral("/media/usb"), QStringLiteral("MUZIEK")),
              QStringLiteral("/media/usb [MUZIEK]"));
}

} // namespace
