#include "PageBreaks.h"

#include <QElapsedTimer>

#include "EditorControl.h"
#include "SheetLayout.h"
#include "TextPrinter.h"

namespace {

// A device of one pixel that measures fonts at the printer's resolution.
QImage MeasuringDevice(int resolution) {
  QImage device(1, 1, QImage::Format_RGB32);
  const int dotsPerMeter = qRound(resolution / 0.0254);
  device.setDotsPerMeterX(dotsPerMeter);
  device.setDotsPerMeterY(dotsPerMeter);
  return device;
}

}  // namespace

PageBreaks::PageBreaks(const EditorControl& control, const SheetLayout& sheets)
    : m_control(control), m_sheets(sheets), m_device(MeasuringDevice(sheets.Resolution())),
      m_painter(&m_device), m_end(control.TextLength()) {
  TextPrinter::PrepareControl(control);
}

void PageBreaks::FindNext() {
  if (m_complete) return;
  const long start = m_starts.back();
  const long next = TextPrinter(m_control, m_sheets).Page(m_painter, 0, start, false);
  // The last page ends the text; a page that takes nothing (an area
  // smaller than one line) would never end.
  if (next >= m_end || next <= start) m_complete = true;
  else m_starts.push_back(next);
}

void PageBreaks::FindUntil(int pages) {
  while (!m_complete && Known() < pages) FindNext();
}

void PageBreaks::FindFor(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  do {
    FindNext();
  } while (!m_complete && timer.elapsed() < milliseconds);
}
