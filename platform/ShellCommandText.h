#pragma once

// Command texts as the file-type store holds them: a program and its
// arguments in one line, each argument that holds a blank or a double quote
// put between double quotes, with a backslash before a quote that belongs
// to it (and the backslashes just before such a quote doubled). Splitting
// reverses the quoting exactly, so any path survives the round trip.

#include <string>
#include <string_view>
#include <vector>

std::string QuoteCommandArgument(std::string_view argument);
std::vector<std::string> SplitCommandText(std::string_view text);
