// This computer's name and the name of the user running the program, with
// overrides for tests.
//
// The computer name is the machine's host name up to its first ".", upper
// case and cut to 15 characters (the form the platform's short computer name
// has; peers compare terminal names written in that form). Single-threaded
// use, like the program.
#ifndef QZ_PLATFORM_SYSTEM_SYSTEM_INFO_H_
#define QZ_PLATFORM_SYSTEM_SYSTEM_INFO_H_

#include <optional>
#include <string>

namespace qz::system {

// This computer's name (or the test's).
std::string ComputerName();

// The name of the user the program runs as (or the test's); empty when the
// machine does not tell.
std::string UserName();

// Overrides the computer name (nullopt: the machine's again).
void SetComputerNameForTest(std::optional<std::string> name);

// Overrides the user name (nullopt: the machine's again).
void SetUserNameForTest(std::optional<std::string> name);

}  // namespace qz::system

#endif  // QZ_PLATFORM_SYSTEM_SYSTEM_INFO_H_
