#include "SafeFileWriter.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include "FileName.h"
#include "InterruptedSaves.h"
#include "Strings.h"
#include "UiText.h"

bool SafeFileWriter::Write(const QString& path, const std::string& bytes, QString* reason) {
  return Write(path, Pieces([&bytes](const SafeReplace::Sink& each) { each(bytes); }), reason);
}

bool SafeFileWriter::Write(const QString& path, const Pieces& pieces, QString* reason) {
  SafeReplace::Failure failure;
  std::optional<std::string> target = SafeReplace::TargetOf(FileName::Bytes(path));
  if (!target) {
    failure.error = errno;
  } else {
    SafeReplace::Policy policy;
    policy.backupDirectory = InterruptedSaves::JournalDirectory();
    if (SafeReplace::Write(*target, pieces, policy, &failure)) return true;
  }
  if (reason) *reason = failure.notRegularFile ? T(strings::kNotAFile).arg(path) : Reason(failure);
  return false;
}

// The common causes in a sentence of their own, the system's words after
// them as a detail; a cause without a sentence in the system's words alone.
QString SafeFileWriter::InWords(int error) {
  static const std::pair<int, const char*> kSentences[] = {
      {ENOSPC, strings::kDiskFull},      {EACCES, strings::kNoPermission},   {EPERM, strings::kNoPermission},
      {EISDIR, strings::kIsAFolder},     {ENOENT, strings::kNoFolder},       {ENOTDIR, strings::kNoFolder},
      {ELOOP, strings::kLinkLoop},       {EROFS, strings::kReadOnlyPlace},   {EDQUOT, strings::kQuotaExceeded},
      {ENAMETOOLONG, strings::kNameTooLong}};
  QString system = QString::fromLocal8Bit(std::strerror(error));
  for (const auto& [code, sentence] : kSentences)
    if (code == error) return T(sentence) + QLatin1Char('\n') + T(strings::kSystemDetail).arg(system);
  return system;
}

QString SafeFileWriter::Reason(const SafeReplace::Failure& failure) {
  QString reason = InWords(failure.error);
  if (failure.noBackup) reason = T(strings::kNoBackupForInPlace).arg(reason);
  if (!failure.keptBackup.empty()) {
    reason += QLatin1Char('\n') + T(strings::kBackupKept).arg(FileName::Shown(FileName::FromBytes(failure.keptBackup)));
  }
  return reason;
}
