#include "CExtAssocDlg.h"

CExtAssocDlg::CExtAssocDlg(QWidget* parent)
    : CExtensionEntryDlg({"拡張子関連付け", QSize(115, 103),
                          "　Kaboma Edit に関連付け\nたい拡張子を入力して下さい。\n\n"
                          "　これにより、ダブルクリックで\n開くことができるようになります。",
                          QRect(7, 7, 101, 46), QRect(8, 59, 36, 12), QRect(52, 61, 56, 8), QRect(7, 80, 48, 16),
                          QRect(60, 80, 48, 16)},
                         parent) {
  setObjectName(QStringLiteral("CExtAssocDlg"));
}
