#pragma once

// Print preview: the pages as they will print, one or two side by side, with
// a bar to print, page forward and back, switch between one and two pages,
// zoom and close. Page Down and Page Up turn the pages, Escape closes (the
// dialog's own Escape).

#include <QDialog>

#include <functional>

class QHBoxLayout;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

class CPrintPreviewDlg : public QDialog {
  Q_OBJECT

 public:
  // What the dialog ended with besides closing: the user asked to print.
  static constexpr int kPrintChosen = 2;

  // `paint` lays the document out on the preview's printer; `pagesShown`
  // is 1 or 2 (anything else shows one).
  CPrintPreviewDlg(QPrinter& printer, std::function<void(QPrinter&)> paint, int pagesShown, QWidget* parent = nullptr);

  int PagesShown() const { return m_pagesShown; }
  int PageCount() const;
  int CurrentPage() const;
  QPrintPreviewWidget* Preview() const { return m_preview; }

  void NextPage();
  void PreviousPage();
  void TogglePagesShown();

 private:
  QPushButton* AddButton(const char* text, const char* name);
  void ShowPages();
  void UpdateBar();

  QPrintPreviewWidget* m_preview;
  QHBoxLayout* m_bar = nullptr;
  QPushButton* m_pagesButton = nullptr;
  QPushButton* m_nextButton = nullptr;
  QPushButton* m_previousButton = nullptr;
  QLabel* m_pageLabel = nullptr;
  int m_pagesShown;
};
