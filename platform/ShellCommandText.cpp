#include "ShellCommandText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string QuoteCommandArgument(std::string_view argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos) return std::string(argument);
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes count only before a quote: there they are doubled.
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');  // the closing quote follows
  return quoted + "\"";
}

std::vector<std::string> SplitCommandText(std::string_view text) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size()) return arguments;
    std::string argument;
    bool quoted = false;
    for (; i < text.size() && (quoted || !IsBlank(text[i])); ++i) {
      if (text[i] == '\\') {
        std::size_t run = text.find_first_not_of('\\', i);
        if (run == std::string_view::npos) run = text.size();
        std::size_t count = run - i;
        if (run < text.size() && text[run] == '"') {
          argument.append(count / 2, '\\');
          if (count % 2 == 1) argument += '"';
          else quoted = !quoted;
          i = run;
        } else {
          argument.append(count, '\\');
          i = run - 1;
        }
      } else if (text[i] == '"') {
        quoted = !quoted;
      } else {
        argument += text[i];
      }
    }
    arguments.push_back(std::move(argument));
  }
}
