// Splitting a parameter text into arguments the way the platform splits a
// command line.
//
// Rules: blanks (space, tab) outside double quotes separate arguments;
// double quotes group and are removed ("a b" is one argument, "" is an empty
// one); inside quotes a doubled quote is one literal quote; 2n backslashes
// before a quote give n backslashes and the quote keeps its meaning, 2n+1
// backslashes before a quote give n backslashes and a literal quote;
// backslashes not before a quote are kept as they are. Pure.
#ifndef QZ_PLATFORM_PROCESS_COMMAND_LINE_H_
#define QZ_PLATFORM_PROCESS_COMMAND_LINE_H_

#include <string>
#include <string_view>
#include <vector>

namespace qz::process {

// The arguments of `parameters` (the text after the program name).
std::vector<std::string> SplitCommandLine(std::string_view parameters);

}  // namespace qz::process

#endif  // QZ_PLATFORM_PROCESS_COMMAND_LINE_H_
