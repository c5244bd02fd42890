#pragma once

// The prompt (shown in the status bar while an item is highlighted) and the
// tool-tip of each command, kept as one text split at its line break.

#include <string_view>

namespace res {

struct CommandText {
  int id;
  const char* text;  // "prompt\ntool-tip"; some have no tool-tip part
};

// Every command with a text, in id order.
extern const CommandText kCommandTexts[];
extern const int kCommandTextCount;

// The prompt and tool-tip of `id`; empty when the id has none.
std::string_view CommandPrompt(int id);
std::string_view CommandToolTip(int id);

}  // namespace res
