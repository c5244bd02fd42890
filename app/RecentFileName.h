#pragma once

// How a recent file's path is kept in the settings file, whose text is
// Shift-JIS. A path that Shift-JIS holds and that reads back as written is
// stored as it is. Any other path (with é, 〜 as the input methods type it,
// an emoji, a line break, a blank at either end, a name in Shift-JIS, EUC
// or any bytes that are no UTF-8) is stored as ":utf8:" followed by the
// path's bytes as the file system holds them (FileName), where "%" and
// every byte outside printable ASCII are written as "%" and two upper-case
// hex digits: "/home/a/café.txt" is stored as ":utf8:/home/a/caf%C3%A9.txt",
// a file named 日本.txt in Shift-JIS as ":utf8:/home/a/%93%FA%96{.txt". The
// stored text is then plain ASCII and reads back exactly. A plain path
// beginning with ":utf8:" takes the same form, so the two never mix.

#include <QString>

#include <string>

class RecentFileName {
 public:
  // UTF-8 text for ProfileFile::WriteProfileString.
  static std::string ToStored(const QString& path);
  // From ProfileFile::GetProfileString.
  static QString FromStored(const std::string& stored);
};
