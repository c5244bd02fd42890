#pragma once

// The view's state that no command shows directly: tests set the codes a
// document was shown with and read what set-up and typing left behind.

#include "CKb_zeva3View.h"

struct ViewInternals {
  static KanjiCode& LoadCode(CKb_zeva3View& view) { return view.m_loadCode; }
  static KanjiCode& SaveCode(CKb_zeva3View& view) { return view.m_saveCode; }
  static long PrevTextLength(const CKb_zeva3View& view) { return view.m_prevTextLength; }
  static int PrintMargins(const CKb_zeva3View& view) { return view.m_printMargins; }
};
