#include "platform/ui/clipboard.h"

namespace qz::ui {

namespace {

class PrivateClipboard : public Clipboard {
 public:
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }

 private:
  std::string text_;
};

PrivateClipboard& Private() {
  static PrivateClipboard clipboard;
  return clipboard;
}

Clipboard* g_clipboard = nullptr;

Clipboard& Current() { return g_clipboard != nullptr ? *g_clipboard : Private(); }

}  // namespace

void InstallClipboard(Clipboard* clipboard) { g_clipboard = clipboard; }

std::string ClipboardText() { return Current().Text(); }

void SetClipboardText(const std::string& text) { Current().SetText(text); }

}  // namespace qz::ui
