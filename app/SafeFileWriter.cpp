#include "SafeFileWriter.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <optional>

#include "FileName.h"
#include "Strings.h"
#include "UiText.h"

namespace {

// Where the copies of old content go while a file is written in place.
QString BackupDirectory() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/kb_zeva3");
}

}  // namespace

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
    policy.backupDirectory = QFile::encodeName(BackupDirectory()).toStdString();
    if (SafeReplace::Write(*target, pieces, policy, &failure)) return true;
  }
  if (reason) *reason = Reason(failure);
  return false;
}

QString SafeFileWriter::Reason(const SafeReplace::Failure& failure) {
  QString reason =
      failure.error == ENOSPC ? T(strings::kDiskFull) : QString::fromLocal8Bit(std::strerror(failure.error));
  if (failure.noBackup) reason = T(strings::kNoBackupForInPlace).arg(reason);
  if (!failure.keptBackup.empty()) {
    reason += QLatin1Char('\n') + T(strings::kBackupKept).arg(FileName::Shown(FileName::FromBytes(failure.keptBackup)));
  }
  return reason;
}
