#include "qt/caption_wrap.h"

#include <QAbstractButton>
#include <QStyle>
#include <QStyleOptionButton>

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

namespace {

// The width the button's style gives its label.
int LabelWidth(const QAbstractButton& button, bool exclusive) {
  QStyleOptionButton option;
  option.initFrom(&button);
  const QStyle::SubElement label = exclusive ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents;
  return button.style()->subElementRect(label, &option, &button).width();
}

}  // namespace

void SetWrappedCaption(QAbstractButton& button, const QString& caption, bool exclusive) {
  // Laid out again only when the caption, the width or the font changed.
  const QString key = caption + QChar(0x1F) + QString::number(button.width()) + QChar(0x1F) + button.font().toString();
  if (button.property("qz_caption_key").toString() == key) return;
  button.setProperty("qz_caption_key", key);
  if (!button.styleSheet().isEmpty()) button.setStyleSheet(QString());
  QString text = caption;
  if (button.fontMetrics().horizontalAdvance(caption) > LabelWidth(button, exclusive)) {
    // A caption that must wrap takes the label's spacing too, so each line
    // holds as much as it can.
    button.setStyleSheet(QStringLiteral("spacing: 1px;"));
    text = WrapCaption(caption, button.fontMetrics(), LabelWidth(button, exclusive));
  }
  if (button.text() != text) button.setText(text);
}

}  // namespace qz::qt
