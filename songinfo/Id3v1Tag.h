#pragma once

#include <QByteArray>
#include <QString>

// The ID3v1 tag: the last 128 bytes of an MP3 file. Fields keep their full width and their raw
// bytes (the format's own Latin-1); nothing is trimmed. A track number in the comment
// (ID3v1.1) is not interpreted: those bytes stay part of the comment.
struct Id3v1Tag {
    static constexpr int kSize = 128;

    QByteArray identifier; // 3 bytes, "TAG" in a valid tag
    QByteArray title;      // 30
    QByteArray artist;     // 30
    QByteArray album;      // 30
    QByteArray year;       // 4
    QByteArray comment;    // 30
    int genre = 255;       // 0 to 255; 255 is the usual "no genre"

    // Splits exactly kSize bytes into the fields; returns false (and leaves `tag` alone) for any
    // other length or when the identifier is not "TAG" in capitals.
    static bool parse(const QByteArray& bytes, Id3v1Tag& tag);

    // A field as the user sees it: Latin-1, every control character (NUL padding above all)
    // shown as a blank so a field can neither end the text early nor start a line of its own.
    static QString fieldText(const QByteArray& field);

    friend bool operator==(const Id3v1Tag&, const Id3v1Tag&) = default;
};

namespace songinfo {

// Reads the tag at the end of the file at `path`. True when the last 128 bytes start with "TAG"
// (case-sensitive); a file of exactly 128 bytes counts. `tag` is changed only when true is
// returned. A missing, short or unreadable file, or anything but a regular file, gives false.
bool ReadId3Tag(const QString& path, Id3v1Tag& tag);

} // namespace songinfo
