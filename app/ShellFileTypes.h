#pragma once

// The editor's document type in the file-type store, written at every
// start and removed by /Unregister. The store is then shown to the desktop
// (DesktopExport) by the caller.

#include <string>

// The keys of the document type "Kb_zeva3": its name, its icon, and the
// open, print and print-to commands of `executable`.
void RegisterShellFileTypes(const std::string& storePath, const std::string& executable);

// Removes the document type and every extension's key that names it. True
// when nothing of them is left.
bool UnregisterShellFileTypes(const std::string& storePath);
