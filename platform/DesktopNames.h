#pragma once

// The names under which the editor shows itself to the desktop. The MIME
// type, the desktop file id and the icon names are shared with the files
// that installation puts in place, so an installed and a registered editor
// describe one and the same document type.

namespace desktop {

// The document type's key in the file-type store, and the value an
// associated extension's key holds.
inline constexpr const char* kFileTypeId = "Kb_zeva3";
// Its display name.
inline constexpr const char* kFileTypeName = "テキスト文書";

inline constexpr const char* kMimeType = "application/x-kb-zeva3";
inline constexpr const char* kMimePackageFile = "kb_zeva3.xml";
inline constexpr const char* kDesktopFileId = "kb_zeva3.desktop";
inline constexpr const char* kProgramIconName = "kb_zeva3";
inline constexpr const char* kDocumentIconName = "application-x-kb-zeva3";

// The pictures compiled into the program, by icon index: 0 the program,
// 1 documents as registered at start, 2 documents after the main window's
// adjustment.
inline constexpr const char* kIconResources[] = {":/icons/kb_zeva3.svg", ":/icons/kb_zeva3-doc1.svg",
                                                 ":/icons/kb_zeva3-doc2.svg"};

}  // namespace desktop
