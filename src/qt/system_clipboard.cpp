#include "qt/system_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace qz::qt {

SystemClipboard::SystemClipboard() { ui::InstallClipboard(this); }

SystemClipboard::~SystemClipboard() { ui::InstallClipboard(nullptr); }

std::string SystemClipboard::Text() const { return QGuiApplication::clipboard()->text().toStdString(); }

void SystemClipboard::SetText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace qz::qt
