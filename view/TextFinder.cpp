#include "TextFinder.h"

#include <QLineEdit>

#include <string>
#include <vector>

#include "CFindReplaceDlg.h"
#include "EditorControl.h"
#include "ModalSeam.h"
#include "Strings.h"

namespace {

using Sci = QsciScintillaBase;

// After an empty match the next search starts one character on, so that a
// pattern such as "^" moves from line to line.
std::size_t After(std::string_view text, const TextMatch& match) {
  if (!match.Empty()) return match.end;
  std::size_t next = match.end + 1;
  while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
  return next;
}

}  // namespace

TextFinder::TextFinder(EditorControl& control, QWidget& owner) : QObject(&owner), m_control(control), m_owner(owner) {}

TextFinder::~TextFinder() { delete m_dialog; }

CFindReplaceDlg* TextFinder::Dialog() const { return m_dialog; }

void TextFinder::OpenFind() { Open(false); }
void TextFinder::OpenReplace() { Open(true); }

void TextFinder::Open(bool replace) {
  if (!m_dialog) {
    m_dialog = new CFindReplaceDlg(m_owner.window());
    connect(m_dialog, &CFindReplaceDlg::FindRequested, this, &TextFinder::FindNext);
    connect(m_dialog, &CFindReplaceDlg::ReplaceRequested, this, &TextFinder::ReplaceNext);
    connect(m_dialog, &CFindReplaceDlg::ReplaceAllRequested, this, &TextFinder::ReplaceAll);
    // Closing the dialog gives the text the keyboard back.
    connect(m_dialog, &QDialog::finished, this, [this] {
      m_owner.window()->activateWindow();
      m_control.setFocus();
    });
  }
  m_dialog->SetReplaceForm(replace);
  // A selection within one line is what the user wants to find.
  long start = m_control.SelectionStart(), end = m_control.SelectionEnd();
  if (start != end) {
    std::string_view text = m_control.Utf8Text().substr(start, end - start);
    if (text.find_first_of("\r\n") == std::string_view::npos)
      m_dialog->SetFindText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  m_dialog->show();
  m_dialog->raise();
  m_dialog->activateWindow();
  m_dialog->FindEdit()->setFocus();
  m_dialog->FindEdit()->selectAll();
}

QWidget* TextFinder::MessageOwner() const {
  return m_dialog && m_dialog->isVisible() ? static_cast<QWidget*>(m_dialog) : &m_owner;
}

// The dialog's string and options, or nothing (after saying why) when they
// cannot be searched for.
std::optional<TextSearcher> TextFinder::Searcher() {
  if (!m_dialog || m_dialog->FindText().isEmpty()) return std::nullopt;
  std::optional<TextSearcher> searcher;
  searcher.emplace(m_dialog->FindText(), m_dialog->Options());
  if (!searcher->IsValid()) {
    platform::ShowMessage(MessageOwner(),
                          {QString::fromUtf8(strings::kBadRegularExpression).arg(searcher->Error()),
                           QString::fromUtf8(strings::kAppTitle), platform::MessageIcon::Exclamation,
                           platform::MessageButtons::Ok});
    return std::nullopt;
  }
  return searcher;
}

std::optional<TextMatch> TextFinder::Find(const TextSearcher& searcher, bool down, bool* wrapped) const {
  std::string_view text = m_control.Utf8Text();
  auto start = static_cast<std::size_t>(m_control.SelectionStart());
  auto end = static_cast<std::size_t>(m_control.SelectionEnd());
  *wrapped = false;
  if (down) {
    // From an empty match at the caret, the next one is further on.
    std::optional<TextMatch> match = searcher.FindForward(text, end);
    if (match && match->Empty() && start == end && match->start == end)
      match = searcher.FindForward(text, After(text, *match));
    if (match) return match;
    *wrapped = true;
    return searcher.FindForward(text, 0);
  }
  if (std::optional<TextMatch> match = searcher.FindBackward(text, start)) return match;
  *wrapped = true;
  return searcher.FindBackward(text, text.size() + 1);
}

void TextFinder::Select(const TextMatch& match) {
  m_control.SetSelection(static_cast<long>(match.start), static_cast<long>(match.end));
  m_control.SendScintilla(Sci::SCI_SCROLLRANGE, static_cast<unsigned long>(match.start), static_cast<long>(match.end));
}

void TextFinder::ReportNotFound() {
  platform::ShowMessage(MessageOwner(), {QString::fromUtf8(strings::kNotFound).arg(m_dialog->FindText()),
                                         QString::fromUtf8(strings::kAppTitle), platform::MessageIcon::Information,
                                         platform::MessageButtons::Ok});
}

bool TextFinder::FindNext(bool down) {
  std::optional<TextSearcher> searcher = Searcher();
  if (!searcher) return false;
  bool wrapped = false;
  std::optional<TextMatch> match = Find(*searcher, down, &wrapped);
  if (!match) {
    ReportNotFound();
    return false;
  }
  Select(*match);
  if (wrapped)
    emit StatusMessage(QString::fromUtf8(down ? strings::kSearchWrappedToStart : strings::kSearchWrappedToEnd));
  return true;
}

// The selection is replaced when it is what the dialog's string finds;
// then the next one is found.
bool TextFinder::ReplaceNext(bool down) {
  std::optional<TextSearcher> searcher = Searcher();
  if (!searcher) return false;
  std::string_view text = m_control.Utf8Text();
  auto start = static_cast<std::size_t>(m_control.SelectionStart());
  auto end = static_cast<std::size_t>(m_control.SelectionEnd());
  std::optional<TextMatch> selected = searcher->MatchAt(text, start);
  if (selected && selected->end == end) {
    std::string replacement = searcher->Replacement(text, *selected, m_dialog->ReplaceText());
    m_control.ReplaceSelection(QString::fromStdString(replacement));
    if (!down) m_control.SetSelection(static_cast<long>(start), static_cast<long>(start));
  }
  return FindNext(down);
}

// Every match is found first, then replaced from the last to the first (the
// offsets before a replacement stay valid), inside one undo action.
int TextFinder::ReplaceAll() {
  std::optional<TextSearcher> searcher = Searcher();
  if (!searcher) return 0;
  struct Replacement {
    TextMatch match;
    std::string text;
  };
  std::vector<Replacement> replacements;
  std::string_view text = m_control.Utf8Text();
  QString typed = m_dialog->ReplaceText();
  for (std::size_t position = 0; position <= text.size();) {
    std::optional<TextMatch> match = searcher->FindForward(text, position);
    if (!match) break;
    position = After(text, *match);
    std::string replacement = searcher->Replacement(text, *match, typed);
    replacements.push_back({std::move(*match), std::move(replacement)});
  }
  if (replacements.empty()) {
    ReportNotFound();
    return 0;
  }
  // The whole change is measured first: a text that would grow past what
  // the control holds gets none of it, and no count of what was not done.
  long removed = 0;
  std::size_t inserted = 0;
  for (const Replacement& r : replacements) {
    removed += static_cast<long>(r.match.end - r.match.start);
    inserted += r.text.size();
  }
  if (!m_control.HasRoomFor(removed, inserted)) return 0;
  {
    EditorControl::WritableWhile writable(m_control);
    m_control.SendScintilla(Sci::SCI_BEGINUNDOACTION);
    for (auto it = replacements.rbegin(); it != replacements.rend(); ++it) {
      m_control.SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(it->match.start),
                              static_cast<long>(it->match.end));
      m_control.SendScintilla(Sci::SCI_REPLACETARGET, it->text.size(), it->text.c_str());
    }
    m_control.SendScintilla(Sci::SCI_ENDUNDOACTION);
  }
  // The last replacement stays selected: a selection is no place for an
  // indentation to follow. It has moved by what the others added.
  long long shift = 0;
  for (std::size_t i = 0; i + 1 < replacements.size(); ++i)
    shift += static_cast<long long>(replacements[i].text.size()) -
             static_cast<long long>(replacements[i].match.end - replacements[i].match.start);
  const Replacement& last = replacements.back();
  auto lastStart = static_cast<std::size_t>(static_cast<long long>(last.match.start) + shift);
  Select(TextMatch{lastStart, lastStart + last.text.size(), {}});
  int count = static_cast<int>(replacements.size());
  emit StatusMessage(QString::fromUtf8(strings::kReplacedCount).arg(count));
  return count;
}
