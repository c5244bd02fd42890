#pragma once

// The four most recently used files, most recent first, kept in the
// settings file's "Recent File List" section: read at start-up, written at
// exit. Several editors share the file and may quit at once, so the list
// written at exit is merged with what the file holds by then: the files
// this process opened first, then those another process wrote since this
// one read the list, then the rest of its own, never a path twice
// (RecentFileName gives the stored form).

#include <QString>
#include <QStringList>

class ProfileFile;

class RecentFileList {
 public:
  static constexpr int kSize = 4;
  static constexpr int kDisplayLength = 30;

  void Load(const ProfileFile& profile);
  // Rewrites the section, merged as above, with one "File%d" key per entry
  // in use, in one step no other process can come between.
  void Save(ProfileFile& profile) const;

  void Add(const QString& path);
  void Remove(int index);
  const QStringList& Entries() const { return m_entries; }

  // The entry as the menu shows it: names that are no UTF-8 decoded
  // (FileName::Shown), at most 30 characters, the file name kept whole and
  // the directories in between shortened to "...".
  static QString Abbreviate(const QString& path, int maxLength = kDisplayLength);

 private:
  QStringList MergedWith(const QStringList& stored) const;

  QStringList m_entries;
  QStringList m_loaded;  // as read by Load
  QStringList m_opened;  // added since Load
};
