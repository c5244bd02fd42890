#pragma once

// The four most recently used files, most recent first, kept in the
// settings file's "Recent File List" section: read at start-up, written at
// exit.

#include <QString>
#include <QStringList>

class ProfileFile;

class RecentFileList {
 public:
  static constexpr int kSize = 4;
  static constexpr int kDisplayLength = 30;

  void Load(const ProfileFile& profile);
  // Removes the section, then writes one "File%d" key per entry in use.
  void Save(ProfileFile& profile) const;

  void Add(const QString& path);
  void Remove(int index);
  const QStringList& Entries() const { return m_entries; }

  // The entry as the menu shows it: at most 30 characters, the file name
  // kept whole and the directories in between shortened to "...".
  static QString Abbreviate(const QString& path, int maxLength = kDisplayLength);

 private:
  QStringList m_entries;
};
