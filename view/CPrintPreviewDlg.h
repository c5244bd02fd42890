#pragma once

// Print preview: the sheets as they will print, one or two side by side
// (sheets 1 and 2, then 3 and 4), with a bar to print, page forward and
// back, switch between one and two pages, zoom and close. Page Down and
// Page Up turn the pages, Escape closes (the dialog's own Escape).
//
// A sheet is laid out when it is shown: the first shows at once, however
// long the text. The pages are counted in the background while the dialog
// is open, a slice at a time between the user's events; a count that takes
// longer than half a second shows its progress in the bar.

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <memory>

#include "SheetLayout.h"

class EditorControl;
class PageBreaks;
class PreviewCanvas;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class CPrintPreviewDlg : public QDialog {
  Q_OBJECT

 public:
  // What the dialog ended with besides closing: the user asked to print.
  static constexpr int kPrintChosen = 2;
  // The longest slice of counting between two of the user's events.
  static constexpr int kCountingSliceMs = 20;
  static constexpr int kShowCountingAfterMs = 500;

  // `pagesShown` is 1 or 2 (anything else shows one).
  CPrintPreviewDlg(const EditorControl& control, const SheetLayout& sheets, int pagesShown, QWidget* parent = nullptr);
  ~CPrintPreviewDlg() override;

  int PagesShown() const { return m_pagesShown; }
  // Sheets, counted so far until Counted().
  int PageCount() const;
  bool Counted() const;
  // Counts the rest at once.
  void FinishCounting();
  // The first sheet shown, from 1.
  int CurrentPage() const { return m_current; }
  PreviewCanvas* Canvas() const { return m_canvas; }
  // Sheet `sheet` (from 1) as the preview draws it, `scale` screen pixels a
  // printer pixel.
  QImage SheetImage(int sheet, double scale) const;

  void NextPage();
  void PreviousPage();
  void TogglePagesShown();
  void ZoomIn();
  void ZoomOut();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* AddButton(const char* text, const char* name);
  bool SheetExists(int sheet);
  void CountSlice();
  void ShowPages();
  void FitToWindow();
  void UpdateBar();

  const EditorControl& m_control;
  const SheetLayout m_sheets;
  std::unique_ptr<PageBreaks> m_breaks;
  PreviewCanvas* m_canvas;
  QScrollArea* m_scroll;
  QHBoxLayout* m_bar = nullptr;
  QPushButton* m_pagesButton = nullptr;
  QPushButton* m_nextButton = nullptr;
  QPushButton* m_previousButton = nullptr;
  QLabel* m_pageLabel = nullptr;
  QProgressBar* m_counting = nullptr;
  QTimer m_countTimer;
  QElapsedTimer m_opened;
  int m_pagesShown;
  int m_current = 1;
  bool m_fitted = true;
};
