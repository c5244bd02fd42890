#include "RecentFileList.h"

#include <QDir>
#include <QFileInfo>

#include "ProfileFile.h"

namespace {

constexpr const char* kSection = "Recent File List";

std::string Key(int index) { return "File" + std::to_string(index + 1); }

}  // namespace

void RecentFileList::Load(const ProfileFile& profile) {
  m_entries.clear();
  for (int i = 0; i < kSize; ++i) {
    QString path = QString::fromStdString(profile.GetProfileString(kSection, Key(i), ""));
    if (!path.isEmpty()) m_entries << path;
  }
}

void RecentFileList::Save(ProfileFile& profile) const {
  profile.WriteProfileString(kSection, std::nullopt, std::nullopt);
  for (int i = 0; i < m_entries.size(); ++i) profile.WriteProfileString(kSection, Key(i), m_entries[i].toStdString());
}

void RecentFileList::Add(const QString& path) {
  m_entries.removeAll(path);
  m_entries.prepend(path);
  while (m_entries.size() > kSize) m_entries.removeLast();
}

void RecentFileList::Remove(int index) {
  if (index >= 0 && index < m_entries.size()) m_entries.removeAt(index);
}

QString RecentFileList::Abbreviate(const QString& path, int maxLength) {
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
