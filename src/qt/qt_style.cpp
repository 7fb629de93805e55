#include "qt/qt_style.h"

#include <QString>
#include <QStringList>
#include <cmath>

namespace qz::qt {

namespace {

constexpr const char* kMonoCjk = "Noto Sans Mono CJK JP";
constexpr const char* kSansCjk = "Noto Sans CJK JP";
constexpr const char* kSerifCjk = "Noto Serif CJK JP";

bool Contains(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

}  // namespace

QColor ResolveColor(ui::Color color, const QPalette& p) {
  if (!ui::IsSystemColor(color)) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
  }
  switch (color & 0xFFu) {
    case 0x00: return p.color(QPalette::Button);            // scroll bar
    case 0x01: return p.color(QPalette::Dark);              // desktop
    case 0x02:                                              // active caption
    case 0x0D: return p.color(QPalette::Highlight);
    case 0x09:                                              // caption text
    case 0x0E: return p.color(QPalette::HighlightedText);
    case 0x04:                                              // menu
    case 0x0F: return p.color(QPalette::Button);            // button face
    case 0x05: return p.color(QPalette::Base);              // window background
    case 0x06: return p.color(QPalette::Shadow);            // window frame
    case 0x07:                                              // menu text
    case 0x08: return p.color(QPalette::Text);              // window text
    case 0x0C: return p.color(QPalette::Window);            // application workspace
    case 0x10: return p.color(QPalette::Mid);               // button shadow
    case 0x11: return p.color(QPalette::Disabled, QPalette::Text);  // gray text
    case 0x12: return p.color(QPalette::ButtonText);
    case 0x14: return p.color(QPalette::Light);             // button highlight
    case 0x15: return p.color(QPalette::Shadow);            // 3D dark shadow
    case 0x16: return p.color(QPalette::Midlight);          // 3D light
    case 0x17: return p.color(QPalette::ToolTipText);
    case 0x18: return p.color(QPalette::ToolTipBase);
    default: return p.color(QPalette::Window);
  }
}

QFont FontFor(const std::string& name, double size, bool bold) {
  QString family;
  if (Contains(name, "明朝")) {
    family = kSerifCjk;
  } else if (Contains(name, "ゴシック") || Contains(name, "Gothic") || name.empty()) {
    // "Ｐ" (full-width P) marks the proportional variant.
    family = Contains(name, "Ｐ") || Contains(name, "UI") ? kSansCjk : kMonoCjk;
  } else {
    family = QString::fromStdString(name);
  }
  QFont font;
  font.setFamilies(QStringList{family, kSansCjk});
  font.setPointSizeF(size > 0 ? size : 9);
  font.setBold(bold);
  return font;
}

QFont FontFor(const ui::Font& font) { return FontFor(font.name, font.size, font.bold); }

int TwipsToPixels(int twips, int twips_per_pixel) {
  if (twips_per_pixel <= 0) twips_per_pixel = 15;
  return static_cast<int>(std::lround(static_cast<double>(twips) / twips_per_pixel));
}

}  // namespace qz::qt
