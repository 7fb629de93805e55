#include "platform/record/storage_warning.h"

#include <iostream>
#include <mutex>
#include <set>

#include "platform/ui/msgbox.h"
#include "platform/ui/shell.h"

namespace qz::record {

namespace {

std::mutex g_mutex;
StorageWarningHandler g_handler;
std::set<std::string> g_warned;

void DefaultHandler(const std::string& text) {
  std::cerr << "record manager: " << text << std::endl;
  if (ui::Shell::Current() != nullptr) {
    ui::MsgBox(text, ui::MsgButtons::kOk, ui::MsgIcon::kExclamation, "警告");
  }
}

}  // namespace

void SetStorageWarningHandler(StorageWarningHandler handler) {
  std::lock_guard lock(g_mutex);
  g_handler = std::move(handler);
}

void WarnOnce(const std::string& subject, const std::string& text) {
  StorageWarningHandler handler;
  {
    std::lock_guard lock(g_mutex);
    if (!g_warned.insert(subject).second) return;
    handler = g_handler;
  }
  if (handler) {
    handler(text);
  } else {
    DefaultHandler(text);
  }
}

}  // namespace qz::record
