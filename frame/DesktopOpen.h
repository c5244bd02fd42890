#pragma once

// Opens a file with the desktop's default application for its content
// type (GIO), the way a double click in the file manager does. Kept free of
// Qt: GIO's headers use the name `signals`, which Qt defines as a macro.
//
// Results, numbered as the launcher reports them: any result but
// kDesktopOpened is a failure.

namespace desktop_open {

inline constexpr int kDesktopOpened = 0;
inline constexpr int kFileNotFound = 2;
inline constexpr int kPathNotFound = 3;     // a directory on the way is missing
inline constexpr int kAccessDenied = 5;
inline constexpr int kLaunchFailed = 8;     // the application would not start
inline constexpr int kNoAssociation = 31;

// `path`: a local file, UTF-8 or the file system's bytes.
int OpenWithDefaultApplication(const char* path);

}  // namespace desktop_open
