#include "platform/system/system_info.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>

namespace qz::system {
namespace {

std::optional<std::string>& ComputerOverride() {
  static std::optional<std::string> name;
  return name;
}

std::optional<std::string>& UserOverride() {
  static std::optional<std::string> name;
  return name;
}

constexpr std::size_t kComputerNameMax = 15;

}  // namespace

std::string ComputerName() {
  if (ComputerOverride()) return *ComputerOverride();
  char buf[256] = {};
  if (::gethostname(buf, sizeof buf - 1) != 0) return {};
  std::string name(buf);
  name = name.substr(0, name.find('.'));
  if (name.size() > kComputerNameMax) name.resize(kComputerNameMax);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string UserName() {
  if (UserOverride()) return *UserOverride();
  struct passwd pw;
  struct passwd* found = nullptr;
  char buf[1024];
  if (::getpwuid_r(::geteuid(), &pw, buf, sizeof buf, &found) == 0 && found && found->pw_name) {
    return found->pw_name;
  }
  const char* env = std::getenv("USER");
  return env ? env : "";
}

void SetComputerNameForTest(std::optional<std::string> name) { ComputerOverride() = std::move(name); }

void SetUserNameForTest(std::optional<std::string> name) { UserOverride() = std::move(name); }

}  // namespace qz::system
