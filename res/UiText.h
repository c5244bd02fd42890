#pragma once

// The program's texts are UTF-8 in the sources (res/Strings.h and beside
// the code that shows them); T gives the QString a widget or a message box
// takes.

#include <QString>

#include <string_view>

inline QString T(const char* text) { return QString::fromUtf8(text); }
inline QString T(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
