#include "platform/runtime/failure_note.h"

#include <cstring>

namespace qz::failure_note {
namespace {

std::optional<Failure>& Latest() {
  static std::optional<Failure> latest;
  return latest;
}

}  // namespace

void NoteStatus(int status, std::string_view file) { Latest() = Failure{status, std::string(file), ""}; }

void NoteSystem(std::string_view path, int error_number) {
  Latest() = Failure{0, std::string(path), std::strerror(error_number)};
}

std::optional<Failure> Take() {
  std::optional<Failure> taken = std::move(Latest());
  Latest().reset();
  return taken;
}

void Forget() { Latest().reset(); }

std::string Words(const Failure& failure) {
  const std::string file = "file=" + (failure.file.empty() ? std::string("(none)") : failure.file);
  if (failure.status != 0) return "status=" + std::to_string(failure.status) + " " + file;
  return file + " reason=" + failure.reason;
}

}  // namespace qz::failure_note
