#include "platform/record/layout_registry.h"

#include <map>
#include <string>

#include "platform/record/definitions.h"

namespace qz::record {
namespace {

std::map<std::string, LayoutProvider>& Registry() {
  static std::map<std::string, LayoutProvider> registry;
  return registry;
}

}  // namespace

void RegisterLayout(std::string_view definition, LayoutProvider provider) {
  Registry()[AsciiUpper(definition)] = std::move(provider);
}

const LayoutProvider* FindLayout(std::string_view definition) {
  auto it = Registry().find(AsciiUpper(definition));
  return it == Registry().end() ? nullptr : &it->second;
}

}  // namespace qz::record
