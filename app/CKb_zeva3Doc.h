#pragma once

// The document: the file being edited. Its text lives in the view; the
// document opens and saves files with the kanji-code step, asks before a
// modified text is thrown away, and tells the user in Japanese what went
// wrong, never losing the file on disk or the text on screen.

#include <QObject>
#include <QString>

#include <optional>

#include "CommandTarget.h"
#include "DocumentText.h"
#include "FileStamp.h"

class ProfileFile;

class CKb_zeva3Doc : public QObject, public CommandTarget {
  Q_OBJECT

 public:
  CKb_zeva3Doc(ProfileFile& profile, DocumentText& text, QObject* parent = nullptr);

  const QString& PathName() const { return m_pathName; }
  // The file name shown in titles and messages ("無題" when untitled).
  QString Title() const;

  // File > New: asks to save a modified text, then shows an empty one.
  bool OnNewDocument();
  // Every way of opening ends here; false leaves the current document as it was.
  bool OpenDocumentFile(const QString& path);
  // A file dropped on the window: the text becomes editable first.
  bool OpenDroppedFile(const QString& path);
  // The file shown, read again in `code` (after asking to save a modified
  // text); it is then saved in that code too.
  bool ReopenIn(KanjiCode code);
  bool ReopenAsUtf8() { return ReopenIn(KanjiCode::Utf8); }
  // The code the shown file is plainly in, when it was read in another
  // (the code offered above the text); nothing otherwise.
  std::optional<KanjiCode> PlainlyIn() const { return m_plainlyIn; }
  bool Save();
  bool SaveAs();
  // Before the text is thrown away: Yes saves, No discards, Cancel (false) keeps.
  bool SaveModified();
  // When the window comes to the front: a file another program changed
  // since it was read or saved here is offered for reading again, once
  // for each change.
  void CheckChangedOnDisk();

  // CommandTarget: save and save as.
  bool HandlesCommand(int id) const override;
  void OnCommand(int id) override;
  // A part built above this layer whose commands this class answers for
  // (the custom button): asked after the class's own.
  void AttachCommands(CommandTarget* part) { m_attachedCommands = part; }

 signals:
  void PathNameChanged(const QString& path);
  // A file was opened or saved under a name: for the recent-file list.
  void FileUsed(const QString& path);

 private:
  static const CommandMap<CKb_zeva3Doc>& Commands();
  bool DoSave(const QString& path);
  bool Load(const QString& path, int loadSetting, int saveSetting, bool reopened = false);
  void OfferReopen(KanjiCode code);
  // Whether the user agrees to what the save code cannot carry (asked
  // only when there is any); the text is looked at in pieces.
  bool ConfirmSaveText(KanjiCode code);
  bool ShowLoaded(const LoadedDocument& loaded);
  bool ConfirmUnencodable(const std::vector<kanji::Unencodable>& missing);
  bool ConfirmUncarryable(const std::vector<QString>& characters, KanjiCode code);
  bool ConfirmShortenedOverwrite(const QString& path);
  bool ConfirmNotAsReadOverwrite(const QString& path);
  bool ConfirmOverwriteOfChangedFile(const QString& path);
  void ShowNotAsRead(const RoundTripDifference& difference);
  void ReportLoadProblem(LoadProblem problem, const QString& path);
  void ReportMemoryError();
  void SetPathName(const QString& path);

  ProfileFile& m_profile;
  DocumentText& m_text;
  QString m_pathName;
  // The loaded text is shorter than its file (a JIS or EUC load cut at 0x00).
  bool m_cutAtNul = false;
  // The file was read in a detected code that a save does not write back
  // as it was: the code's name ("EUC"), empty otherwise.
  QString m_notAsReadCode;
  std::optional<KanjiCode> m_plainlyIn;
  CommandTarget* m_attachedCommands = nullptr;
  // The file as this program last read or wrote it, and the change of it
  // last offered for reading again.
  std::optional<FileStamp> m_stamp;
  std::optional<FileStamp> m_offeredChange;
};
