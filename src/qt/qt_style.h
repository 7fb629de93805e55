// How the Qt front end turns the model's raw values into Qt's: colours
// (0xBBGGRR or a system colour, resolved against the palette here and
// nowhere else), fonts (the program's Japanese font names mapped to the
// installed CJK fonts) and twips (1440 per inch) into pixels.
//
// Free functions; they need a QGuiApplication for palette and fonts.
#ifndef QZ_QT_QT_STYLE_H_
#define QZ_QT_QT_STYLE_H_

#include <QColor>
#include <QFont>
#include <QPalette>
#include <string>

#include "platform/ui/control.h"

namespace qz::qt {

// The colour `color` stands for: a 0xBBGGRR value as it is, a system colour
// as the palette's matching role.
QColor ResolveColor(ui::Color color, const QPalette& palette);

// The font for a model font: "ＭＳ ゴシック" and the other fixed-pitch
// names become a monospaced CJK font, the proportional ("Ｐ") names a
// proportional one, Mincho names a serif one; other names are used as they
// are, with the CJK font as fallback. Sizes are points.
QFont FontFor(const std::string& name, double size, bool bold);
QFont FontFor(const ui::Font& font);

// Twips to pixels at `twips_per_pixel` (the screen's 1440 / dpi), rounded.
int TwipsToPixels(int twips, int twips_per_pixel);

}  // namespace qz::qt

#endif  // QZ_QT_QT_STYLE_H_
