#include "CKb_zeva3Doc.h"

#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <QWidget>

#include <new>

#include "CharacterList.h"
#include "InterruptedSaves.h"
#include "CommandIds.h"
#include "FileName.h"
#include "ModalSeam.h"
#include "ProfileFile.h"
#include "Strings.h"
#include "UiText.h"

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

// How a character the code cannot carry shows in a message: itself, or its
// byte values when it is no character (a control byte, a lone byte, an empty
// two-byte cell). A pair code page 932 writes elsewhere (the NEC "≒" of
// 0x8790) shows as its character.
QString Describe(std::string_view shiftJis, const kanji::TextSpan& span) {
  using kanji::ShiftJisCodec;
  std::string_view bytes = shiftJis.substr(span.offset, span.length);
  QString asBytes = QStringLiteral("0x");
  for (unsigned char b : bytes) asBytes += QString::number(b, 16).toUpper().rightJustified(2, QLatin1Char('0'));
  if (static_cast<unsigned char>(bytes[0]) < 0x20) return asBytes;
  QString text = QString::fromStdString(ShiftJisCodec::Decode(bytes));
  QList<uint> codePoints = text.toUcs4();
  char32_t only = codePoints.size() == 1 ? codePoints[0] : 0;
  if (ShiftJisCodec::IsRawByte(only)) return asBytes;
  if (ShiftJisCodec::IsHeldPair(only)) {
    char32_t character = ShiftJisCodec::DuplicateCharacter(only);
    return character ? QString::fromUcs4(&character, 1) : asBytes;
  }
  return text;
}

QString CodeName(KanjiCode code) { return QString::fromLatin1(code == KanjiCode::Jis ? "JIS" : "EUC"); }

// "89 7E 20 6F", or "（なし）" for no bytes.
QString HexBytes(const std::string& bytes) {
  if (bytes.empty()) return T(strings::kNoBytes);
  QStringList hex;
  for (char b : bytes)
    hex << QString::number(static_cast<unsigned char>(b), 16).toUpper().rightJustified(2, QLatin1Char('0'));
  return hex.join(QLatin1Char(' '));
}

}  // namespace

CKb_zeva3Doc::CKb_zeva3Doc(ProfileFile& profile, DocumentText& text, QObject* parent)
    : QObject(parent), m_profile(profile), m_text(text) {}

QString CKb_zeva3Doc::Title() const {
  return m_pathName.isEmpty() ? T(strings::kUntitled) : FileName::Shown(QFileInfo(m_pathName).fileName());
}

void CKb_zeva3Doc::SetPathName(const QString& path) {
  m_pathName = path;
  emit PathNameChanged(path);
}

bool CKb_zeva3Doc::OnNewDocument() {
  if (!SaveModified()) return false;
  m_cutAtNul = false;
  m_notAsReadCode.clear();
  m_plainlyIn.reset();
  SetPathName(QString());
  m_text.ShowDocument(std::string(), CodesForNewDocument(m_profile.GetProfileInt("KanaCode", "Load", 1),
                                                         m_profile.GetProfileInt("KanaCode", "Save", 1)));
  return true;
}

bool CKb_zeva3Doc::OpenDocumentFile(const QString& path) {
  if (!SaveModified()) return false;
  InterruptedSaves::OfferFor(m_text.Window(), path);
  return Load(path, m_profile.GetProfileInt("KanaCode", "Load", 1), m_profile.GetProfileInt("KanaCode", "Save", 1));
}

bool CKb_zeva3Doc::ReopenIn(KanjiCode code) {
  if (m_pathName.isEmpty() || !SaveModified()) return false;
  // The user chose this code for this file: it is written back in it too,
  // whatever the save setting, not turned into Shift-JIS by the next save.
  const int chosen = KanjiCodeToInt(code);
  return Load(m_pathName, chosen, chosen, true);
}

// The offer stays while the user has not reopened the same file (a
// cancelled save prompt).
void CKb_zeva3Doc::OfferReopen(KanjiCode code) {
  m_text.OfferReopen(code, [this, code, path = m_pathName] {
    if (!ReopenIn(code) && m_pathName == path) OfferReopen(code);
  });
}

// `reopened`: read again in the code the user took from the offer, which
// detection found; nothing else is offered then.
bool CKb_zeva3Doc::Load(const QString& path, int loadSetting, int saveSetting, bool reopened) {
  try {
    LoadedDocument loaded = LoadDocumentFile(path, loadSetting, saveSetting, reopened);
    if (reopened) loaded.plainlyIn.reset();
    if (loaded.problem != LoadProblem::None) {
      ReportLoadProblem(loaded.problem, path);
      return false;
    }
    if (!ShowLoaded(loaded)) {
      // Part of the file is in the control: it is no copy of the file, and
      // saving it would cut the file short.
      ReportLoadProblem(LoadProblem::Unreadable, path);
      m_cutAtNul = false;
      m_notAsReadCode.clear();
      m_plainlyIn.reset();
      SetPathName(QString());
      m_text.ShowDocument(std::string(), loaded.codes);
      return false;
    }
    m_cutAtNul = loaded.cutAtNul;
    m_notAsReadCode = loaded.savesDifferently ? CodeName(loaded.codes.load) : QString();
    if (loaded.savesDifferently) ShowNotAsRead(*loaded.savesDifferently);
    SetPathName(loaded.path);
    m_stamp = FileStamp::Of(loaded.path);
    m_offeredChange.reset();
    m_plainlyIn = loaded.plainlyIn;
    if (m_plainlyIn) OfferReopen(*m_plainlyIn);
    emit FileUsed(loaded.path);
    if (m_cutAtNul) {
      platform::ShowMessage(m_text.Window(), {T(strings::kCutAtNul).arg(FileName::Shown(loaded.path)),
                                              T(strings::kAppName), MessageIcon::Information, MessageButtons::Ok});
    }
    return true;
  } catch (const std::bad_alloc&) {
    ReportMemoryError();
    return false;
  }
}

bool CKb_zeva3Doc::ShowLoaded(const LoadedDocument& loaded) {
  if (loaded.streamFrom.isEmpty()) {
    m_text.ShowDocument(loaded.shiftJis, loaded.codes);
    return true;
  }
  return m_text.ShowStreamedDocument(loaded.streamFrom, loaded.streamSize, loaded.codes);
}

bool CKb_zeva3Doc::OpenDroppedFile(const QString& path) {
  m_text.MakeWritable();
  if (QWidget* window = m_text.Window()) {
    window->activateWindow();
    window->raise();
  }
  return OpenDocumentFile(path);
}

const CommandMap<CKb_zeva3Doc>& CKb_zeva3Doc::Commands() {
  static const CommandMap<CKb_zeva3Doc> commands{
      {ids::kFileSave, [](CKb_zeva3Doc& d) { d.Save(); }},
      {ids::kFileSaveAs, [](CKb_zeva3Doc& d) { d.SaveAs(); }},
  };
  return commands;
}

bool CKb_zeva3Doc::HandlesCommand(int id) const {
  return Commands().Handles(id) || (m_attachedCommands && m_attachedCommands->HandlesCommand(id));
}

void CKb_zeva3Doc::OnCommand(int id) {
  if (Commands().Handles(id)) Commands().Run(*this, id);
  else if (m_attachedCommands) m_attachedCommands->OnCommand(id);
}

bool CKb_zeva3Doc::Save() { return m_pathName.isEmpty() ? SaveAs() : DoSave(m_pathName); }

bool CKb_zeva3Doc::SaveAs() {
  // The document's own name is suggested; an untitled text is offered as "無題.txt".
  QString suggested = m_pathName.isEmpty() ? Title() + QLatin1Char('.') + T(strings::kDefaultSuffix) : m_pathName;
  // A name that is no UTF-8 is offered decoded (its bytes would show as
  // boxes), in its folder when that is plain; kept, it is the file's own.
  const QString folder = QFileInfo(m_pathName).path();
  if (FileName::HasRawBytes(m_pathName) && !FileName::HasRawBytes(folder))
    suggested = folder + QLatin1Char('/') + Title();
  std::optional<QString> path = platform::ChooseSavePath(
      m_text.Window(), suggested, {T(strings::kSaveFilter), T(strings::kAllFilesFilter)}, T(strings::kDefaultSuffix));
  if (path && *path == suggested && suggested != m_pathName && !FileName::Exists(*path)) path = m_pathName;
  return path && DoSave(*path);
}

bool CKb_zeva3Doc::SaveModified() {
  if (!m_text.IsModified()) return true;
  MessageAnswer answer =
      platform::ShowMessage(m_text.Window(), {T(strings::kConfirmSaveChanges).arg(Title()), T(strings::kAppName),
                                              MessageIcon::Question, MessageButtons::YesNoCancel});
  if (answer == MessageAnswer::Cancel) return false;
  return answer == MessageAnswer::No || Save();
}

bool CKb_zeva3Doc::DoSave(const QString& path) {
  // A pipe, a device or a folder by that name is refused as opening it is:
  // writing into a pipe nobody reads would wait for ever.
  if (FileName::Exists(path) && !FileName::IsFile(path)) {
    ReportLoadProblem(LoadProblem::NotAFile, path);
    return false;
  }
  try {
    KanjiCode code = m_text.SaveCode();
    if (!ConfirmSaveText(code)) return false;
    bool overTheFileRead = QFileInfo(path) == QFileInfo(m_pathName);
    if (m_cutAtNul && overTheFileRead && !ConfirmShortenedOverwrite(path)) return false;
    if (!m_notAsReadCode.isEmpty() && overTheFileRead && !ConfirmNotAsReadOverwrite(path)) return false;
    if (overTheFileRead && !ConfirmOverwriteOfChangedFile(path)) return false;
    QString reason;
    // Encoded into the file a piece at a time: no copy of the whole text.
    BytePieces text = [this](const Sink& each) { m_text.SaveTextPieces(each, nullptr); };
    if (!WriteFileSafely(path, EncodePiecesForSave(text, code), &reason)) {
      platform::ShowMessage(m_text.Window(), {T(strings::kSaveFailed).arg(FileName::Shown(path), reason),
                                              T(strings::kAppName), MessageIcon::Stop, MessageButtons::Ok});
      return false;
    }
    m_cutAtNul = m_cutAtNul && !overTheFileRead;
    if (overTheFileRead) m_notAsReadCode.clear();
    SetPathName(FileName::Absolute(path));
    m_stamp = FileStamp::Of(m_pathName);
    m_offeredChange.reset();
    m_text.ClearModified();
    emit FileUsed(m_pathName);
    return true;
  } catch (const std::bad_alloc&) {
    ReportMemoryError();
    return false;
  }
}

// UTF-8 carries every character of the control and every byte read;
// the other codes list what they cannot carry and let the user stop.
bool CKb_zeva3Doc::ConfirmSaveText(KanjiCode code) {
  if (code == KanjiCode::Utf8) return true;
  std::vector<kanji::Unencodable> missing;
  std::vector<QString> uncarryable;
  m_text.SaveTextPieces(
      [&](std::string_view shiftJis) {
        // Pieces end between characters, so each is looked at on its own,
        // as the save writes it (a second form such as the "≒" of 0x8790 in
        // the standard form JIS and EUC know).
        if (uncarryable.size() >= kCountedCharacters) return;
        for (const kanji::TextSpan& span :
             kanji::FindUncarryable(shiftJis, code, kCountedCharacters - uncarryable.size()))
          uncarryable.push_back(Describe(shiftJis, span));
      },
      &missing);
  if (!missing.empty() && !ConfirmUnencodable(missing)) return false;
  return ConfirmUncarryable(uncarryable, code);
}

bool CKb_zeva3Doc::ConfirmUnencodable(const std::vector<kanji::Unencodable>& missing) {
  std::vector<QString> characters;
  for (const kanji::Unencodable& u : missing) {
    char32_t cp = u.codePoint;
    characters.push_back(QString::fromUcs4(&cp, 1));
  }
  return platform::ShowMessage(m_text.Window(),
                               {T(strings::kConfirmUnencodable).arg(CharacterList(characters)),
                                T(strings::kAppName), MessageIcon::Exclamation, MessageButtons::OkCancel}) ==
         MessageAnswer::Ok;
}

bool CKb_zeva3Doc::ConfirmUncarryable(const std::vector<QString>& characters, KanjiCode code) {
  if (characters.empty()) return true;
  QString codeName = CodeName(code);
  return platform::ShowMessage(m_text.Window(),
                               {T(strings::kConfirmUncarryable).arg(codeName, CharacterList(characters)),
                                T(strings::kAppName), MessageIcon::Exclamation, MessageButtons::OkCancel}) ==
         MessageAnswer::Ok;
}

// Another program wrote the file after this one read it: overwriting
// throws its change away.
bool CKb_zeva3Doc::ConfirmOverwriteOfChangedFile(const QString& path) {
  std::optional<FileStamp> now = FileStamp::Of(path);
  if (!m_stamp || !now || *now == *m_stamp) return true;
  return platform::ShowMessage(m_text.Window(), {T(strings::kChangedOnDisk).arg(path), T(strings::kAppName),
                                                 MessageIcon::Question, MessageButtons::YesNo}) == MessageAnswer::Yes;
}

void CKb_zeva3Doc::CheckChangedOnDisk() {
  std::optional<FileStamp> now = FileStamp::Of(m_pathName);
  if (!m_stamp || !now || *now == *m_stamp || now == m_offeredChange) return;
  m_offeredChange = now;
  m_text.OfferReload([this, path = m_pathName] {
    if (m_pathName == path) OpenDocumentFile(path);
  });
}

bool CKb_zeva3Doc::ConfirmShortenedOverwrite(const QString& path) {
  return platform::ShowMessage(m_text.Window(), {T(strings::kConfirmShortenedOverwrite).arg(FileName::Shown(path)),
                                                 T(strings::kAppName), MessageIcon::Question,
                                                 MessageButtons::YesNo}) == MessageAnswer::Yes;
}

bool CKb_zeva3Doc::ConfirmNotAsReadOverwrite(const QString& path) {
  return platform::ShowMessage(m_text.Window(),
                               {T(strings::kConfirmNotAsReadOverwrite).arg(FileName::Shown(path), m_notAsReadCode),
                                T(strings::kAppName), MessageIcon::Question, MessageButtons::YesNo}) ==
         MessageAnswer::Yes;
}

void CKb_zeva3Doc::ShowNotAsRead(const RoundTripDifference& difference) {
  QString reason = T(strings::kNotAsReadReason)
                       .arg(difference.fileOffset + 1)
                       .arg(HexBytes(difference.fileBytes), HexBytes(difference.savedBytes));
  m_text.ShowNotice(T(strings::kNotAsRead).arg(m_notAsReadCode) + QLatin1Char('\n') + reason);
}

void CKb_zeva3Doc::ReportLoadProblem(LoadProblem problem, const QString& path) {
  const char* text = strings::kFileUnreadable;
  MessageIcon icon = MessageIcon::Stop;
  switch (problem) {
    case LoadProblem::Missing: text = strings::kFileMissing; icon = MessageIcon::Exclamation; break;
    case LoadProblem::NotAFile: text = strings::kNotAFile; icon = MessageIcon::Exclamation; break;
    case LoadProblem::TooLarge: text = strings::kFileTooLarge; icon = MessageIcon::Exclamation; break;
    case LoadProblem::LineTooLong: text = strings::kLineTooLong; icon = MessageIcon::Exclamation; break;
    default: break;
  }
  platform::ShowMessage(m_text.Window(),
                        {T(text).arg(FileName::Shown(path)), T(strings::kAppName), icon, MessageButtons::Ok});
}

void CKb_zeva3Doc::ReportMemoryError() {
  platform::ShowMessage(m_text.Window(), {T(strings::kMemoryErrorText), T(strings::kMemoryErrorCaption),
                                          MessageIcon::Stop, MessageButtons::Ok});
}
