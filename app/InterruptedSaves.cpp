#include "InterruptedSaves.h"

#include <QFile>
#include <QStandardPaths>

#include <cstdlib>
#include <memory>

#include "FileName.h"
#include "ModalSeam.h"
#include "SafeFileWriter.h"
#include "SaveJournal.h"
#include "Strings.h"
#include "UiText.h"

namespace {

using platform::MessageAnswer;

QString Decoded(const std::string& path) { return FileName::Shown(FileName::FromBytes(path)); }

// By the bytes of the names, through every link.
bool SameFile(const std::string& target, const QString& path) {
  if (path.isEmpty()) return false;
  auto real = [](const std::string& name) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(name.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : name;
  };
  return real(target) == real(FileName::Bytes(path));
}

void OfferOne(QWidget* owner, const SaveJournal::Entry& entry) {
  const QString file = Decoded(entry.target);
  MessageAnswer answer = platform::ShowMessage(owner, {T(strings::kInterruptedSave).arg(file), T(strings::kAppName),
                                                       platform::MessageIcon::Question,
                                                       platform::MessageButtons::YesNoCancel});
  if (answer == MessageAnswer::Cancel) return;
  if (answer == MessageAnswer::No) return SaveJournal::Discard(entry);
  int error = 0;
  if (SaveJournal::Restore(entry, &error)) return;
  platform::ShowMessage(owner, {T(strings::kRestoreFailed).arg(file, SafeFileWriter::InWords(error), Decoded(entry.copy)),
                                T(strings::kAppName), platform::MessageIcon::Stop, platform::MessageButtons::Ok});
}

}  // namespace

std::string InterruptedSaves::JournalDirectory() {
  QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/kb_zeva3");
  return QFile::encodeName(cache).toStdString();
}

void InterruptedSaves::OfferFor(QWidget* owner, const QString& path) { Offer(owner, path, true); }
void InterruptedSaves::OfferAllBut(QWidget* owner, const QString& path) { Offer(owner, path, false); }

void InterruptedSaves::Offer(QWidget* owner, const QString& path, bool thatFile) {
  for (const SaveJournal::Entry& entry : SaveJournal::Unfinished(JournalDirectory()))
    if (SameFile(entry.target, path) == thatFile) OfferOne(owner, entry);
}
