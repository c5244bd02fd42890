#pragma once

// Saves written in place that never finished (the editor was killed, the
// machine stopped), offered back to the user: such a file may hold part
// new and part old text, and the copy of its old content taken before the
// write (SaveJournal) can put it back.

#include <QString>

#include <string>

class QWidget;

class InterruptedSaves {
 public:
  // Where the copies of old content go while a file is written in place.
  static std::string JournalDirectory();
  // Asks about the unfinished saves of the file `path`: Yes writes the old
  // content back, No keeps the file as it is and forgets the copy, Cancel
  // asks again next time.
  static void OfferFor(QWidget* owner, const QString& path);
  // The same for every other file's (at start-up; the file opened then is
  // asked about as it opens).
  static void OfferAllBut(QWidget* owner, const QString& path);

 private:
  static void Offer(QWidget* owner, const QString& path, bool thatFile);
};
