#pragma once

#include <string>

// The main window's adjustment of the icon documents of the editor's type
// show, at every start: the index at the end of the type's icon value
// becomes 2, everything before it unchanged. A value shorter than two
// characters, or one that cannot be read, is left alone; every failure is
// silent.
void AdjustDocumentIcon(const std::string& storePath);
