#include "app/ProgramFolder.h"
#include "app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(ProgramFolder, WritableFolderIsUsedAsItIs) {
    QTemporaryDir dir;
    const QString fallback = dir.path() + QStringLiteral("/fallback");
    EXPECT_TRUE(ProgramFolder::isWritable(dir.path()));
    EXPECT_EQ(ProgramFolder::resolve(dir.path(), fallback), dir.path());
    EXPECT_FALSE(QDir(fallback).exists());
}

TEST(ProgramFolder, FolderThatCannotBeWrittenFallsBack) {
    QTemporaryDir dir;
    // No one can create files below a plain file, not even the superuser.
    const QString file = dir.path() + QStringLiteral("/plain");
    writeFile(file, "x");
    const QString unusable = file + QStringLiteral("/bin");
    const QString fallback = dir.path() + QStringLiteral("/data/Tunara");
    EXPECT_FALSE(ProgramFolder::isWritable(unusable));
    EXPECT_FALSE(ProgramFolder::isWritable(file));
    EXPECT_FALSE(ProgramFolder::isWritable(QString()));
    EXPECT_EQ(ProgramFolder::resolve(unusable, fallback), fallback);
    EXPECT_TRUE(ProgramFolder::isWritable(fallback));

    // Settings can be written there.
    EXPECT_TRUE(SaveSettings(settingsFilePath(fallback), Settings{}));
}

TEST(ProgramFolder, WhenNothingCanBeWrittenThePreferredFolderStays) {
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/plain");
    writeFile(file, "x");
    EXPECT_EQ(ProgramFolder::resolve(file + QStringLiteral("/a"), file + QStringLiteral("/b")),
              file + QStringLiteral("/a"));
}

TEST(ProgramFolder, SettingsAreCarriedOverOnlyWhenTheNewFolderHasNone) {
    QTemporaryDir dir;
    const QString installed = dir.path() + QStringLiteral("/installed");
    const QString data = dir.path() + QStringLiteral("/data");
    ASSERT_TRUE(QDir().mkpath(installed));
    ASSERT_TRUE(QDir().mkpath(data));
    writeFile(settingsFilePath(installed), "1,2,3\r\n");
    ProgramFolder::carrySettingsOver(installed, data);
    QFile copy(settingsFilePath(data));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), QByteArray("1,2,3\r\n"));
    copy.close();

    // The user's own settings are never overwritten by the installed ones.
    writeFile(settingsFilePath(data), "mine");
    writeFile(settingsFilePath(installed), "theirs");
    ProgramFolder::carrySettingsOver(installed, data);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), QByteArray("mine"));
}

} // namespace
