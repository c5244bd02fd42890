#pragma once

// Edit > find and Edit > replace: one modeless dialog in two forms. The find
// form has the string, the options, the direction and "次を検索"; the
// replace form adds the replacement, "置換して次に" and "すべて置換". Enter
// finds in the chosen direction, Shift+Enter the other way. The dialog only
// asks: TextFinder does the searching.

#include <QDialog>

#include "TextSearcher.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CFindReplaceDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CFindReplaceDlg(QWidget* parent = nullptr);

  void SetReplaceForm(bool replace);
  bool IsReplaceForm() const { return m_replaceForm; }

  QString FindText() const;
  void SetFindText(const QString& text);
  QString ReplaceText() const;
  SearchOptions Options() const;
  bool SearchesDown() const;

  QLineEdit* FindEdit() const { return m_findEdit; }
  QLineEdit* ReplaceEdit() const { return m_replaceEdit; }

 signals:
  void FindRequested(bool down);
  void ReplaceRequested(bool down);
  void ReplaceAllRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* AddButton(const QString& text, const char* name);
  void UpdateButtons();

  bool m_replaceForm = false;
  QLineEdit* m_findEdit;
  QLabel* m_replaceLabel;
  QLineEdit* m_replaceEdit;
  QCheckBox* m_matchCase;
  QCheckBox* m_wholeWord;
  QCheckBox* m_regularExpression;
  QWidget* m_direction;
  QRadioButton* m_up;
  QRadioButton* m_down;
  QPushButton* m_findNext;
  QPushButton* m_replace;
  QPushButton* m_replaceAll;
  QPushButton* m_cancel;
};
