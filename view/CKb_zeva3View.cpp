#include "CKb_zeva3View.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "AutoIndent.h"
#include "CKb_zeva3App.h"
#include "CGotoLineDlg.h"
#include "CLineEndDlg.h"
#include "CaretJumps.h"
#include "ClipboardTextWatch.h"
#include "CKanjiCodeDlg.h"
#include "CommandIds.h"
#include "DocumentFileCodeCheck.h"
#include "FileDropTarget.h"
#include "HelpLauncher.h"
#include "LineEndReplacement.h"
#include "ModalSeam.h"
#include "Phrases.h"
#include "ProfileFile.h"
#include "ShiftJisCodec.h"
#include "Strings.h"
#include "TextFinder.h"
#include "Utf8FileCodec.h"

namespace {

// A colour from three settings, of each only the low eight bits.
QColor ColourFromSettings(ProfileFile& profile, const char* section, int fallback) {
  return QColor(profile.GetProfileInt(section, "Red", fallback) & 0xFF,
                profile.GetProfileInt(section, "Green", fallback) & 0xFF,
                profile.GetProfileInt(section, "Blue", fallback) & 0xFF);
}

void WriteColour(ProfileFile& profile, const char* section, const QColor& colour) {
  profile.WriteProfileInt(section, "Red", colour.red());
  profile.WriteProfileInt(section, "Green", colour.green());
  profile.WriteProfileInt(section, "Blue", colour.blue());
}

// The face name, cut to the bytes a character format holds (as Shift-JIS),
// never in the middle of a character.
QString CutFaceName(const QString& face, int maxBytes) {
  const QByteArray utf8 = face.toUtf8();
  const std::size_t kept = kanji::ShiftJisCodec::PrefixFitting({utf8.constData(), static_cast<std::size_t>(utf8.size())},
                                                                static_cast<std::size_t>(maxBytes));
  return QString::fromUtf8(utf8.constData(), static_cast<qsizetype>(kept));
}

}  // namespace

CKb_zeva3View::CKb_zeva3View(ProfileFile& profile, QWidget* parent)
    : QWidget(parent), m_profile(profile), m_notice(new NoticeBar(this)), m_control(new EditorControl(this)),
      m_clipboardText(new ClipboardTextWatch(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_notice);
  layout->addWidget(m_control);
  setFocusProxy(m_control);
  m_control->installEventFilter(this);
  m_control->viewport()->installEventFilter(this);
  // Files dropped on the text are the main window's to open.
  connect(new FileDropTarget(m_control->viewport()), &FileDropTarget::FilesDropped, this,
          &CKb_zeva3View::FilesDropped);
  m_timer.start(kTimerPeriodMs, this);
  new AutoIndent(m_profile, *m_control, m_prevTextLength, this);
  m_finder = new TextFinder(*m_control, *this);
  m_printing = std::make_unique<PrintCommands>(*m_control, m_printMargins, this);
  connect(m_finder, &TextFinder::StatusMessage, this, &CKb_zeva3View::StatusMessage);
  connect(m_control, &EditorControl::CompositionStarting, this, [this] { m_compositionRow = CaretRow(); });
}

void CKb_zeva3View::ShowDocument(const std::string& text, const DocumentCodes& codes) {
  m_notice->Clear();
  if (codes.load == KanjiCode::Utf8) m_control->SetUtf8FileText(text);
  else m_control->SetShiftJisText(text);
  SetUpFromSettings();
  TakeCodes(codes);
}

bool CKb_zeva3View::ShowStreamedDocument(const QString& path, std::size_t size, const DocumentCodes& codes) {
  m_notice->Clear();
  auto pieces = [&](const std::function<void(std::string_view)>& each) {
    return ReadDocumentPieces(path, size, codes, each);
  };
  bool whole = codes.load == KanjiCode::Utf8 ? m_control->SetUtf8FileText(size, pieces)
                                              : m_control->SetShiftJisText(size, pieces);
  SetUpFromSettings();
  TakeCodes(codes);
  return whole;
}

void CKb_zeva3View::TakeCodes(const DocumentCodes& codes) {
  m_loadCode = codes.load;
  m_saveCode = codes.save;
  m_byteOrderMark = codes.load == KanjiCode::Utf8 && codes.byteOrderMark;
  m_control->ClearModified();
}

void CKb_zeva3View::OfferReopen(KanjiCode code, const std::function<void()>& reopen) {
  const QString name = QString::fromLatin1(KanjiCodeDisplayName(code));
  m_notice->ShowOffer(QString::fromUtf8(strings::kLooksLikeCode).arg(name),
                      QString::fromUtf8(strings::kReopenInCode).arg(name), reopen);
}

void CKb_zeva3View::OfferReload(const std::function<void()>& reload) {
  m_notice->ShowOffer(QString::fromUtf8(strings::kChangedOnDiskNotice), QString::fromUtf8(strings::kReloadChanged), reload);
}

namespace {

// JIS and EUC know a character read in a second form (the NEC "≒" of 0x8790)
// by its standard form alone.
EditorControl::HeldPairs HeldPairsFor(KanjiCode saveCode) {
  const bool standard = saveCode == KanjiCode::Jis || saveCode == KanjiCode::Euc;
  return standard ? EditorControl::HeldPairs::Standard : EditorControl::HeldPairs::AsRead;
}

}  // namespace

std::string CKb_zeva3View::TextForSave(std::vector<kanji::Unencodable>* missing) const {
  return m_control->ShiftJisText(missing, HeldPairsFor(SaveCode()));
}

std::string CKb_zeva3View::Utf8TextForSave() const {
  return EncodeUtf8ForSave(m_control->Utf8Text(), m_byteOrderMark, m_loadCode != KanjiCode::Utf8);
}

void CKb_zeva3View::SaveTextPieces(const std::function<void(std::string_view)>& each,
                                   std::vector<kanji::Unencodable>* missing) const {
  if (SaveCode() == KanjiCode::Utf8)
    EncodeUtf8PiecesForSave(m_control->Utf8Text(), m_byteOrderMark, m_loadCode != KanjiCode::Utf8, each);
  else m_control->ShiftJisPieces(each, missing, HeldPairsFor(SaveCode()));
}

void CKb_zeva3View::SetUpFromSettings() {
  m_textColour = ColourFromSettings(m_profile, "TextColor", 0);
  m_backColour = ColourFromSettings(m_profile, "BgColor", 255);
  m_fontName = QString::fromStdString(m_profile.GetProfileString("Font", "Name", "ＭＳ ゴシック"));
  m_fontSize = m_profile.GetProfileInt("Font", "Size", 240);
  m_fontStrike = m_profile.GetProfileInt("Font", "Strike", 0);
  m_fontUnder = m_profile.GetProfileInt("Font", "Under", 0);
  m_fontItalic = m_profile.GetProfileInt("Font", "Italic", 0);
  m_fontBold = m_profile.GetProfileInt("Font", "Bold", 0);
  m_wordWrap = m_profile.GetProfileInt("Config", "WordWrap", 1) != 0 ? 1 : 0;
  m_control->SetWrapping(m_wordWrap == 1);
  m_control->SetBackground(m_backColour);
  CharFormat format;
  format.face = CutFaceName(m_fontName, kMaxFaceBytes);
  format.twips = m_fontSize;
  format.colour = m_textColour;
  format.strikeOut = m_fontStrike != 0;
  format.underline = m_fontUnder != 0;
  format.italic = m_fontItalic != 0;
  format.bold = m_fontBold != 0;
  m_control->SetDefaultFormat(format);
  m_prevTextLength = m_control->TextLength();
  m_dragScrolling = false;
  m_cycleIndex = 0;
  m_printMargins = kPrintMarginTwips;
}

void CKb_zeva3View::OnFontSettings() {
  CharFormat format = m_control->DefaultFormat();
  platform::FontChoice initial;
  // The dialog starts on the face the text is drawn in: a name the desktop
  // has only as a substitution ("ＭＳ ゴシック") is not in its list.
  initial.face = QFontInfo(QFont(format.face)).family();
  initial.pointSizeTenths = format.twips / 2;
  initial.weight = format.bold ? 700 : 400;
  initial.italic = format.italic;
  initial.underline = format.underline;
  initial.strikeOut = format.strikeOut;
  initial.colour = format.colour;
  std::optional<platform::FontChoice> chosen = platform::ChooseFont(this, initial);
  if (!chosen) return;
  // The face unchanged keeps the name it was chosen by.
  if (chosen->face != initial.face) format.face = CutFaceName(chosen->face, kMaxFaceBytes);
  format.twips = chosen->pointSizeTenths * 2;
  format.colour = chosen->colour;
  format.strikeOut = chosen->strikeOut;
  format.underline = chosen->underline;
  format.italic = chosen->italic;
  format.bold = chosen->weight > 400;
  long anchor = m_control->SelectionStart(), caret = m_control->SelectionEnd();
  m_control->SetDefaultFormat(format);
  m_control->SetSelection(anchor, caret);
  WriteColour(m_profile, "TextColor", format.colour);
  m_profile.WriteProfileString("Font", "Name", format.face.toStdString());
  m_profile.WriteProfileInt("Font", "Size", format.twips);
  m_profile.WriteProfileInt("Font", "Strike", format.strikeOut ? 1 : 0);
  m_profile.WriteProfileInt("Font", "Under", format.underline ? 1 : 0);
  m_profile.WriteProfileInt("Font", "Italic", format.italic ? 1 : 0);
  m_profile.WriteProfileInt("Font", "Bold", format.bold ? 1 : 0);
}

void CKb_zeva3View::OnBackgroundColour() {
  std::optional<QColor> chosen = platform::ChooseColour(nullptr, m_backColour, QStringLiteral("背景色"));
  if (!chosen) return;
  m_backColour = *chosen;
  m_control->SetBackground(m_backColour);
  WriteColour(m_profile, "BgColor", m_backColour);
}

void CKb_zeva3View::OnWordWrap() {
  m_wordWrap = m_wordWrap == 0 ? 1 : 0;
  m_control->SetWrapping(m_wordWrap == 1);
  m_profile.WriteProfileInt("Config", "WordWrap", m_wordWrap == 1 ? 1 : 0);
}

void CKb_zeva3View::OnGoToLine() {
  CGotoLineDlg dialog(this);
  if (platform::ExecDialog(dialog) != QDialog::Accepted) return;
  CaretJumps(*m_control).ToLine(CaretJumps::LineNumberFromEntry(dialog.m_lineText));
}

void CKb_zeva3View::OnLineEndReplacement() {
  CLineEndDlg dialog(this);
  if (platform::ExecDialog(dialog) != QDialog::Accepted) return;
  LineEndReplacement::Replace(*m_control, static_cast<LineEndReplacement::Ending>(dialog.m_endingChoice + 1), this);
}

// How many pages the preview shows side by side is the application's to
// keep until the process ends.
void CKb_zeva3View::OnPrintPreview() {
  CKb_zeva3App* app = CKb_zeva3App::Instance();
  int pages = app ? app->PreviewPages() : 0;
  m_printing->Preview(pages);
  if (app) app->SetPreviewPages(pages);
}

void CKb_zeva3View::OnPaste() { m_control->PastePlainText(); }
bool CKb_zeva3View::CanPaste() const { return !m_control->IsReadOnly() && m_clipboardText->HasText(); }

void CKb_zeva3View::OnFocusGained() { m_hasFocus = true; }

// The window's own menu bar and popup menus take the keyboard while they are
// open, but the text stays this window's: commands chosen there (Paste, Cut,
// Undo) must still change it. Only the focus leaving the window (another
// application, a dialog) makes the text read-only.
bool CKb_zeva3View::FocusStaysInWindow(Qt::FocusReason reason) {
  return reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
}

void CKb_zeva3View::OnFocusLost() {
  m_cycleIndex = 0;
  m_hasFocus = false;
  m_control->SetReadOnly(true);
}

void CKb_zeva3View::OnKeyDown(int key) {
  if (key == Qt::Key_Insert) {
    m_overwrite = !m_overwrite;
    m_control->SetOverwrite(m_overwrite);
  }
  m_cycleIndex = 0;
}

void CKb_zeva3View::timerEvent(QTimerEvent* event) {
  if (event->timerId() != m_timer.timerId()) return QWidget::timerEvent(event);
  if (m_hasFocus) m_control->SetReadOnly(false);
  emit Tick();
}

const CommandMap<CKb_zeva3View>& CKb_zeva3View::Commands() {
  static const CommandMap<CKb_zeva3View> commands{
      {ids::kFontSettings, [](CKb_zeva3View& v) { v.OnFontSettings(); }},
      {ids::kBackgroundColour, [](CKb_zeva3View& v) { v.OnBackgroundColour(); }},
      {ids::kWordWrap, [](CKb_zeva3View& v) { v.OnWordWrap(); }},
      {ids::kPaste, [](CKb_zeva3View& v) { v.OnPaste(); }},
      {ids::kCopy, [](CKb_zeva3View& v) { v.m_control->copy(); }},
      {ids::kCut, [](CKb_zeva3View& v) { v.m_control->cut(); }},
      {ids::kSelectAll, [](CKb_zeva3View& v) { v.m_control->selectAll(); }},
      {ids::kUndo, [](CKb_zeva3View& v) { v.m_control->UndoLast(); }},
      {ids::kLineStart, [](CKb_zeva3View& v) { CaretJumps(*v.m_control).ToLineStart(); }},
      {ids::kLineEnd, [](CKb_zeva3View& v) { CaretJumps(*v.m_control).ToLineEnd(); }},
      {ids::kDocumentStart, [](CKb_zeva3View& v) { CaretJumps(*v.m_control).ToTextStart(); }},
      {ids::kDocumentEnd, [](CKb_zeva3View& v) { CaretJumps(*v.m_control).ToTextEnd(); }},
      {ids::kGoToLine, [](CKb_zeva3View& v) { v.OnGoToLine(); }},
      {ids::kInsertPhrase, [](CKb_zeva3View& v) { Phrases(v.m_profile).InsertMarked(*v.m_control, &v); }},
      {ids::kPhraseSettings, [](CKb_zeva3View& v) { Phrases(v.m_profile).RunSettings(&v); }},
      {ids::kPhrase1, [](CKb_zeva3View& v) { Phrases(v.m_profile).Insert(0, *v.m_control, &v); }},
      {ids::kPhrase1 + 1, [](CKb_zeva3View& v) { Phrases(v.m_profile).Insert(1, *v.m_control, &v); }},
      {ids::kPhrase1 + 2, [](CKb_zeva3View& v) { Phrases(v.m_profile).Insert(2, *v.m_control, &v); }},
      {ids::kPhrase1 + 3, [](CKb_zeva3View& v) { Phrases(v.m_profile).Insert(3, *v.m_control, &v); }},
      {ids::kPhrase1 + 4, [](CKb_zeva3View& v) { Phrases(v.m_profile).Insert(4, *v.m_control, &v); }},
      {ids::kAutoIndent, [](CKb_zeva3View& v) { AutoIndent::Toggle(v.m_profile); }},
      {ids::kKanjiCodeSettings, [](CKb_zeva3View& v) {
         if (std::optional<KanjiCode> save = CKanjiCodeDlg::Run(v.m_profile, v.m_loadCode, &v)) v.m_saveCode = *save;
       }},
      {ids::kQuickHelp, [](CKb_zeva3View& v) { HelpLauncher::OpenHelpPage(&v, HelpLauncher::kQuickHelp); }},
      {ids::kHelpHtml, [](CKb_zeva3View& v) { HelpLauncher::OpenHelpPage(&v, HelpLauncher::kHelpHtml); }},
      {ids::kHomePage, [](CKb_zeva3View& v) { HelpLauncher::OpenHomePage(&v); }},
      {ids::kLineEndReplacement, [](CKb_zeva3View& v) { v.OnLineEndReplacement(); }},
      {ids::kFind, [](CKb_zeva3View& v) { v.m_finder->OpenFind(); }},
      {ids::kReplace, [](CKb_zeva3View& v) { v.m_finder->OpenReplace(); }},
      {ids::kPrint, [](CKb_zeva3View& v) { v.m_printing->Print(); }},
      {ids::kPrintDirect, [](CKb_zeva3View& v) { v.m_printing->PrintDirect(); }},
      {ids::kPrintPreview, [](CKb_zeva3View& v) { v.OnPrintPreview(); }},
      // The page set-up edits the printer this view prints to.
      {ids::kPrintSetup, [](CKb_zeva3View& v) { v.m_printing->SetUp(); }},
  };
  return commands;
}

bool CKb_zeva3View::HandlesCommand(int id) const {
  return Commands().Handles(id) || (m_attachedCommands && m_attachedCommands->HandlesCommand(id));
}

void CKb_zeva3View::OnCommand(int id) {
  if (Commands().Handles(id)) Commands().Run(*this, id);
  else if (m_attachedCommands) m_attachedCommands->OnCommand(id);
}

bool CKb_zeva3View::OnUpdateCommand(int id, CommandUpdate& update) {
  switch (id) {
    case ids::kWordWrap: update.checked = IsWordWrapChecked(); return true;
    case ids::kPaste: update.enabled = CanPaste(); return true;
    case ids::kCopy: update.enabled = m_control->hasSelectedText(); return true;
    case ids::kCut: update.enabled = m_control->hasSelectedText() && !m_control->IsReadOnly(); return true;
    case ids::kUndo: update.enabled = m_control->isUndoAvailable(); return true;
    case ids::kGoToLine: update.enabled = m_control->TextLength() != 0; return true;
    case ids::kAutoIndent: update.checked = AutoIndent::IsOn(m_profile); return true;
    case ids::kPaneMode:
      TakeFirstModeRefresh();
      update.text = PaneText(id);
      return true;
    case ids::kPaneModified:
    case ids::kPaneSize:
    case ids::kPaneLine:
    case ids::kPaneCodes:
    case ids::kPaneDate:
    case ids::kPaneTime:
      update.text = PaneText(id);
      return true;
    default:
      return false;
  }
}

namespace {

// Set when the process starts: the typing-mode pane's first refresh puts the
// view back in insert mode.
bool typingModeFirstRefresh = true;

QString CodeName(KanjiCode code) { return QString::fromLatin1(KanjiCodeStatusText(code)); }

}  // namespace

void CKb_zeva3View::TakeFirstModeRefresh() {
  if (!typingModeFirstRefresh) return;
  typingModeFirstRefresh = false;
  m_overwrite = false;
  m_control->SetOverwrite(false);
}

QString CKb_zeva3View::PaneText(int id) const {
  switch (id) {
    case ids::kPaneModified:
      return m_control->IsModified() ? QStringLiteral("●") : QStringLiteral("○");
    case ids::kPaneSize:
      return m_sizePane.For(m_control->FileLength() + (m_byteOrderMark ? 3 : 0),
                            [](std::size_t bytes) { return QString::number(bytes) + QStringLiteral("バイト"); });
    case ids::kPaneLine:
      return m_linePane.For((m_control->IsComposing() ? m_compositionRow : CaretRow()) + 1,
                            [](int line) { return QString::number(line) + QStringLiteral("行"); });
    case ids::kPaneCodes:
      return m_codesPane.For(std::pair(m_loadCode, m_saveCode), [](std::pair<KanjiCode, KanjiCode> codes) {
        return CodeName(codes.first) + QStringLiteral("→") + CodeName(codes.second);
      });
    case ids::kPaneMode:
      return m_overwrite ? QStringLiteral("上書") : QStringLiteral("挿入");
    case ids::kPaneDate:
      return m_clock.DateText();
    case ids::kPaneTime:
      return m_clock.TimeText();
    default:
      return QString();
  }
}

int CKb_zeva3View::CaretRow() const { return CaretJumps(*m_control).DisplayRowOf(m_control->SelectionStart()); }

bool CKb_zeva3View::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    // A popup menu (the cycle popup, the menu bar's) and the menu bar take
    // the keyboard only while they are open: for the view the focus has not moved.
    case QEvent::FocusIn:
      if (watched == m_control && !FocusStaysInWindow(static_cast<QFocusEvent*>(event)->reason())) OnFocusGained();
      break;
    case QEvent::FocusOut:
      if (watched == m_control && !FocusStaysInWindow(static_cast<QFocusEvent*>(event)->reason())) OnFocusLost();
      break;
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      OnKeyDown(key->key());
      // The control's own Insert handling would toggle overwrite a second time.
      if (key->key() == Qt::Key_Insert) return true;
      break;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}
