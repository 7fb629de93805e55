#include "qt/caption_wrap.h"

#include <QAbstractButton>
#include <QFont>
#include <QVariant>
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
  // The button's own font: the one it was given, not one made smaller here.
  const QVariant fitted = button.property("qz_caption_fitted_font");
  const QFont own = fitted.isValid() && fitted.value<QFont>() == button.font()
                        ? button.property("qz_caption_own_font").value<QFont>()
                        : button.font();
  // Laid out again only when the caption, the size or the font changed.
  const QString key = caption + QChar(0x1F) + QString::number(button.width()) + QChar(0x1F) +
                      QString::number(button.height()) + QChar(0x1F) + own.toString();
  if (button.property("qz_caption_key").toString() == key) return;
  button.setProperty("qz_caption_key", key);
  if (!button.styleSheet().isEmpty()) button.setStyleSheet(QString());
  if (button.font() != own) button.setFont(own);
  QString text = caption;
  if (button.fontMetrics().horizontalAdvance(caption) > LabelWidth(button, exclusive)) {
    // A caption that must wrap takes the label's spacing too, so each line
    // holds as much as it can.
    button.setStyleSheet(QStringLiteral("spacing: 1px;"));
    QFont font = own;
    const double smallest = own.pointSizeF() / 2;
    for (;;) {
      const QFontMetrics metrics(font);
      text = WrapCaption(caption, metrics, LabelWidth(button, exclusive));
      const auto lines = text.count(QLatin1Char('\n'));
      const bool fits = metrics.lineSpacing() * lines + metrics.height() <= button.height();
      if (fits || font.pointSizeF() <= 0 || font.pointSizeF() - 0.5 < smallest) break;
      font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    if (font != own) {
      button.setFont(font);
      button.setProperty("qz_caption_own_font", own);
      button.setProperty("qz_caption_fitted_font", font);
    }
  }
  if (button.text() != text) button.setText(text);
}

}  // namespace qz::qt
