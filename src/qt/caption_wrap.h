// Captions of check and option buttons broken into lines that fit the
// button, as the platform's buttons wrap a caption longer than their width
// instead of cutting it. Free functions for the form window.
#ifndef QZ_QT_CAPTION_WRAP_H_
#define QZ_QT_CAPTION_WRAP_H_

#include <QFontMetrics>
#include <QString>

class QAbstractButton;

namespace qz::qt {

// `caption` with line breaks before the characters that would pass `width`
// pixels of `metrics`' font; a line keeps at least one character. A caption
// that fits is returned as it is.
QString WrapCaption(const QString& caption, const QFontMetrics& metrics, int width);

// Sets `caption` on a check or option button, wrapped to the width its
// label has beside the indicator. When its lines are taller than the
// button, the button's font is made smaller (not below half its size)
// until they fit, so the caption shows whole; the font the button had
// stays its own for the next caption. Writes only when the text differs.
void SetWrappedCaption(QAbstractButton& button, const QString& caption, bool exclusive);

}  // namespace qz::qt

#endif  // QZ_QT_CAPTION_WRAP_H_
