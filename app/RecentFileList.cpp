#include "RecentFileList.h"

#include "FileName.h"
#include "ProfileFile.h"
#include "RecentFileName.h"

namespace {

constexpr const char* kSection = "Recent File List";

std::string Key(int index) { return "File" + std::to_string(index + 1); }

// The paths of a stored section, in the order of their "File%d" keys.
QStringList StoredEntries(const ProfileFile::KeyValues& stored) {
  QStringList entries;
  for (int i = 0; i < RecentFileList::kSize; ++i)
    for (const auto& [key, value] : stored)
      if (QString::fromStdString(key).compare(QString::fromStdString(Key(i)), Qt::CaseInsensitive) == 0) {
        if (!value.empty()) entries << RecentFileName::FromStored(value);
        break;
      }
  return entries;
}

}  // namespace

void RecentFileList::Load(const ProfileFile& profile) {
  m_entries.clear();
  for (int i = 0; i < kSize; ++i) {
    QString path = RecentFileName::FromStored(profile.GetProfileString(kSection, Key(i), ""));
    if (!path.isEmpty()) m_entries << path;
  }
  m_loaded = m_entries;
  m_opened.clear();
}

QStringList RecentFileList::MergedWith(const QStringList& stored) const {
  QStringList merged;
  auto take = [&](const QString& path) {
    if (merged.size() < kSize && !merged.contains(path)) merged << path;
  };
  for (const QString& path : m_entries)
    if (m_opened.contains(path)) take(path);
  // What the file held at Load is this list's own, dropped if it is gone
  // from the list; anything else in it another editor wrote since.
  for (const QString& path : stored)
    if (!m_loaded.contains(path)) take(path);
  for (const QString& path : m_entries) take(path);
  return merged;
}

void RecentFileList::Save(ProfileFile& profile) const {
  profile.RewriteSection(kSection, [this](const ProfileFile::KeyValues& stored) {
    ProfileFile::KeyValues section;
    QStringList merged = MergedWith(StoredEntries(stored));
    for (int i = 0; i < merged.size(); ++i) section.emplace_back(Key(i), RecentFileName::ToStored(merged[i]));
    return section;
  });
}

void RecentFileList::Add(const QString& path) {
  m_opened.removeAll(path);
  m_opened << path;
  m_entries.removeAll(path);
  m_entries.prepend(path);
  while (m_entries.size() > kSize) m_entries.removeLast();
}

void RecentFileList::Remove(int index) {
  if (index < 0 || index >= m_entries.size()) return;
  m_opened.removeAll(m_entries[index]);
  m_entries.removeAt(index);
}

QString RecentFileList::Abbreviate(const QString& stored, int maxLength) {
  const QString path = FileName::Shown(stored);
  if (path.size() <= maxLength) return path;
  const QStringList parts = path.split(QLatin1Char('/'));
  // "/home/.../docs/memo.txt": the first directory, then as many of the
  // last parts as fit, with at least one directory left out between them.
  if (parts.size() > 3) {
    QString head = parts[0] + QLatin1Char('/') + parts[1];
    for (qsizetype keep = parts.size() - 3; keep >= 1; --keep) {
      QString candidate = head + QStringLiteral("/.../") + parts.mid(parts.size() - keep).join(QLatin1Char('/'));
      if (candidate.size() <= maxLength) return candidate;
    }
  }
  return parts.last();  // the file name alone, whole
}
