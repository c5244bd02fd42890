#pragma once

// Dialog 152: the extension whose association is to be removed, whichever
// program it names.

#include "CExtensionEntryDlg.h"

class CExtUnassocDlg : public CExtensionEntryDlg {
  Q_OBJECT

 public:
  explicit CExtUnassocDlg(QWidget* parent = nullptr);
};
