#include "LineEndReplacement.h"

#include <algorithm>
#include <new>
#include <string>

#include "EditorControl.h"
#include "KanjiText.h"
#include "ModalSeam.h"
#include "Strings.h"

namespace {

void ReportMemoryError(QWidget* owner) {
  platform::ShowMessage(owner, {QString::fromUtf8(strings::kMemoryErrorText), QString::fromUtf8(strings::kMemoryErrorCaption),
                                platform::MessageIcon::Stop, platform::MessageButtons::Ok});
}

// The one range that differs between two texts: its start, and the length
// of the common tail after it (never overlapping the common head).
struct Difference {
  std::size_t start;
  std::size_t commonTail;
};

Difference Differ(std::string_view a, std::string_view b) {
  auto head = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  std::size_t start = static_cast<std::size_t>(head.first - a.begin());
  std::size_t room = std::min(a.size(), b.size()) - start;
  auto tail = std::mismatch(a.rbegin(), a.rbegin() + static_cast<std::ptrdiff_t>(room), b.rbegin());
  return {start, static_cast<std::size_t>(tail.first - a.rbegin())};
}

}  // namespace

// The control holds UTF-8, where CR and LF are always themselves and never
// part of a character, as in Shift-JIS: converting its bytes directly gives
// what converting the Shift-JIS text would, without the trip through it.
// Only the range from the first to the last changed byte is replaced.
bool LineEndReplacement::Replace(EditorControl& control, Ending ending, QWidget* owner) {
  std::string_view text = control.Utf8Text();
  std::string converted;
  try {
    converted = kanji::ConvertLineEnds(text, ending);
  } catch (const std::bad_alloc&) {
    ReportMemoryError(owner);
    return false;
  }
  if (converted == text) return false;
  Difference difference = Differ(text, converted);
  long caret = control.CaretPosition();
  int line = control.LineFromPosition(caret);
  long column = caret - control.LineStart(line);
  std::string_view replacement(converted.data() + difference.start,
                               converted.size() - difference.start - difference.commonTail);
  // A refusal (the text would grow past what the control holds) is told
  // by the control and leaves the text, and the ending Enter inserts, as
  // they were.
  if (!control.ReplaceRange(static_cast<long>(difference.start),
                            static_cast<long>(text.size() - difference.commonTail), replacement))
    return false;
  // Line endings never merge or split lines, so the caret's line is still there.
  long lineStart = control.LineStart(line);
  long position = lineStart + std::min(column, control.LineEndPosition(line) - lineStart);
  control.SetSelection(position, position);
  control.FollowLineEndingOf(converted);
  return true;
}
