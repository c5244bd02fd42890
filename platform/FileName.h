#pragma once

// File names as the file system holds them: bytes, which need not be UTF-8.
// Old archives and mounted Windows disks hold names in Shift-JIS or EUC, and
// Qt reads every byte of those that is no UTF-8 as U+FFFD: a file it then
// cannot open, and a name no save could write back.
//
// The program keeps each path as a QString all the same. A path's bytes
// that are no UTF-8 are held in it as the raw-byte code points U+F780 +
// byte (Utf8FileCodec, as a UTF-8 file's stray bytes are held), so the path
// gives its bytes back exactly; a UTF-8 name is the QString Qt would make.
// Qt's own file functions would take those code points for characters: a
// file is opened, looked at and written through Bytes() of its path, and a
// path is shown to the user through Shown().

#include <QString>

#include <optional>
#include <string>
#include <string_view>

class FileName {
 public:
  // A path from the file system's bytes (the command line, a drop, a
  // directory's entries).
  static QString FromBytes(std::string_view bytes);
  // The bytes of the name a path stands for.
  static std::string Bytes(const QString& path);
  // Whether the path holds bytes that are no UTF-8.
  static bool HasRawBytes(const QString& path);

  // The path as the user reads it. A part of it (a folder's or the file's
  // name) that is no UTF-8 is read as Shift-JIS, else as EUC; a name that
  // is neither shows each byte that is no UTF-8 as "\x" and two hex digits.
  // Only for showing: the name shown may be another file's.
  static QString Shown(const QString& path);

  // The path made absolute from the working folder's bytes, and clean
  // ("." and ".." parts and doubled slashes taken out).
  static QString Absolute(const QString& path);

  // Whether a regular file (or a link to one) is there.
  static bool IsFile(const QString& path);
  static bool Exists(const QString& path);

  // A file chosen in a dialog that lists names through Qt, which gives a
  // name that is no UTF-8 with U+FFFD for its bytes (or as Shown gives it,
  // where the dialog shows that): the path of the file it stands for, when
  // exactly one file of the folder is named so. Any other path is returned
  // as it is.
  static QString FromDialog(const QString& chosen);
};
