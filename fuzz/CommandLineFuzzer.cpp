// The command-line parser on arbitrary arguments (the input split at 0x00,
// each argument taken as UTF-8): nothing crashes, a path comes from the
// arguments as given, and only a print option without its file is invalid.

#include <cstdlib>
#include <string_view>

#include "CommandLine.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  QStringList arguments;
  std::string_view in(reinterpret_cast<const char*>(data), size);
  while (!in.empty()) {
    std::size_t end = in.find('\0');
    arguments << QString::fromUtf8(in.substr(0, end));
    in = end == std::string_view::npos ? std::string_view() : in.substr(end + 1);
  }
  CommandLine line = ParseCommandLine(arguments);
  using Action = CommandLine::Action;
  bool asksHelp = arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"));
  bool asksVersion = arguments.contains(QStringLiteral("--version"));
  if (!asksHelp && !asksVersion) Require(line.action != Action::Help && line.action != Action::Version);
  if (line.action == Action::Open || line.action == Action::Print || line.action == Action::PrintTo)
    Require(arguments.contains(line.path));
  else
    Require(line.path.isEmpty());
  if (line.action != Action::PrintTo) Require(line.printer.isEmpty() && line.driver.isEmpty() && line.port.isEmpty());
  if (line.action == Action::Invalid) Require(arguments.size() >= 1);
  return 0;
}
