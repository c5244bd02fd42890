#pragma once

// Dialog 137: the extension to associate with the editor.

#include "CExtensionEntryDlg.h"

class CExtAssocDlg : public CExtensionEntryDlg {
  Q_OBJECT

 public:
  explicit CExtAssocDlg(QWidget* parent = nullptr);
};
