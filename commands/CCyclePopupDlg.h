#pragma once

// Settings > cycle menu: edits the four pages of the cycle popup. Commands
// are picked from the whole command table and added, removed, moved within
// a page, pages exchanged with their neighbours, and the default pages put
// back. Only the working copies in m_pages change; the caller takes them
// when the dialog ends with OK.
//
// List rows are positions: the command list's row is the table index, the
// page list's row the position in the page string, so both lists are only
// ever filled in order.

#include <QDialog>

#include "CyclePages.h"

class QListWidget;
class QTabWidget;

class CCyclePopupDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CCyclePopupDlg(const PageStrings& pages, QWidget* parent = nullptr);

  PageStrings m_pages;
  QListWidget* m_pageList;
  QListWidget* m_commandList;
  QTabWidget* m_tab;

 private:
  void BuildControls();
  void RefreshPageList();
  int CurrentPage() const;
  int SelectedRow() const;
  std::string& Page();
  void SelectRow(int row);
  void ShowPage(int page);

  void OnTabChange();
  void OnAdd();
  void OnDelete();
  void OnMoveUp();
  void OnMoveDown();
  void OnExchangePrevious();
  void OnExchangeNext();
  void OnExchange(int neighbour);
  void OnReset();
};
