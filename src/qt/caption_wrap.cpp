#include "qt/caption_wrap.h"

#include <QAbstractButton>
#include <QStyle>

namespace qz::qt {

QString WrapCaption(const QString& caption, const QFontMetrics& metrics, int width) {
  if (width <= 0 || metrics.horizontalAdvance(caption) <= width) return caption;
  QString out;
  QString line;
  for (const QChar ch : caption) {
    if (ch == QLatin1Char('\n')) {
      out += line + ch;
      line.clear();
      continue;
    }
    if (!line.isEmpty() && metrics.horizontalAdvance(line + ch) > width) {
      out += line + QLatin1Char('\n');
      line.clear();
    }
    line += ch;
  }
  return out + line;
}

void SetWrappedCaption(QAbstractButton& button, const QString& caption, bool exclusive) {
  const QStyle* style = button.style();
  const int indicator = style->pixelMetric(exclusive ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth,
                                           nullptr, &button);
  const int spacing = style->pixelMetric(
      exclusive ? QStyle::PM_RadioButtonLabelSpacing : QStyle::PM_CheckBoxLabelSpacing, nullptr, &button);
  const QString text = WrapCaption(caption, button.fontMetrics(), button.width() - indicator - spacing - 2);
  if (button.text() != text) button.setText(text);
}

}  // namespace qz::qt
