// SystemClipboard: the program's text clipboard (platform/ui/clipboard.h)
// on the desktop's clipboard through QClipboard, so text copied in the
// program can be pasted elsewhere and the other way round.
//
// Installs itself for its life (the QtBackend holds one); needs a
// QGuiApplication. Not copyable.
#ifndef QZ_QT_SYSTEM_CLIPBOARD_H_
#define QZ_QT_SYSTEM_CLIPBOARD_H_

#include <string>

#include "platform/ui/clipboard.h"

namespace qz::qt {

class SystemClipboard : public ui::Clipboard {
 public:
  SystemClipboard();
  ~SystemClipboard() override;

  SystemClipboard(const SystemClipboard&) = delete;
  SystemClipboard& operator=(const SystemClipboard&) = delete;

  std::string Text() const override;
  void SetText(const std::string& text) override;
};

}  // namespace qz::qt

#endif  // QZ_QT_SYSTEM_CLIPBOARD_H_
