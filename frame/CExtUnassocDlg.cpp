#include "CExtUnassocDlg.h"

CExtUnassocDlg::CExtUnassocDlg(QWidget* parent)
    : CExtensionEntryDlg({"拡張子関連付け解除", QSize(119, 137),
                          "　関連付けを解除したい拡張子\nを入力して下さい。解除を行うと\n"
                          "該当拡張子のファイルはダブル\nクリック起動ができなくなります。\n\n"
                          "※注　Kaboma Edit 以外に\n関連付けられた拡張子を解除\n"
                          "することもできますが、その場合\nには十分注意して下さい。",
                          QRect(7, 7, 105, 78), QRect(7, 91, 36, 12), QRect(48, 93, 64, 8), QRect(7, 114, 48, 16),
                          QRect(64, 114, 48, 16)},
                         parent) {
  setObjectName(QStringLiteral("CExtUnassocDlg"));
}
