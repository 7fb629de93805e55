#include "qt/cell_text_painter.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "qt/qt_style.h"

namespace qz::qt {

namespace {

constexpr QChar kFullWidthBlank(0x3000);

// The horizontal offset of a text of `width` within `box` as `align` asks.
int AlignedLeft(const QRect& box, int width, Qt::Alignment align) {
  if (align & Qt::AlignRight) return box.right() + 1 - width;
  if (align & Qt::AlignHCenter) return box.left() + (box.width() - width) / 2;
  return box.left();
}

}  // namespace

QString WithoutTrailingBlanks(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && (text[end - 1] == QLatin1Char(' ') || text[end - 1] == kFullWidthBlank)) --end;
  return end == text.size() ? text : text.left(end);
}

double CharacterPixels(const grid::Spread& spread, int col, const std::vector<int>& rows) {
  // The font most of the column's cells are drawn in; among as many, the
  // wider.
  std::map<std::tuple<std::string, double, bool>, int> counts;
  for (int r : rows) {
    if (r > 0 && spread.RowHeight(r) == 0) continue;
    const grid::CellFormat f = spread.FormatAt(col, r);
    ++counts[std::make_tuple(f.font_name, f.font_size, f.font_bold)];
  }
  double unit = 0;
  int most = 0;
  for (const auto& [font, count] : counts) {
    const auto& [name, size, bold] = font;
    const double advance = QFontMetricsF(FontFor(name, size, bold)).horizontalAdvance(QLatin1Char('0'));
    if (count > most || (count == most && advance > unit)) {
      most = count;
      unit = advance;
    }
  }
  if (unit <= 0) unit = QFontMetricsF(FontFor(spread.font)).horizontalAdvance(QLatin1Char('0'));
  return std::max(1.0, unit);
}

CellTextPainter::CellTextPainter(std::function<CellEdit(const QModelIndex&)> edit_of, QObject* parent)
    : QStyledItemDelegate(parent), edit_of_(std::move(edit_of)) {}

void CellTextPainter::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  // Fixed-length fields are blank-padded: the blanks are not drawn (they
  // would push a centred text aside or end it in "…"), and a text too long
  // for its cell is cut at the edge as the grid always did.
  option->textElideMode = Qt::ElideNone;
  const CellEdit edit = edit_of_ ? edit_of_(index) : CellEdit{};
  if (edit.replaces_text) {
    option->text.clear();
  } else if (!edit.editing) {
    option->text = WithoutTrailingBlanks(option->text);
  }
}

QRect CellTextPainter::TextRect(const QStyleOptionViewItem& option) const {
  const QWidget* widget = option.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  return option.rect.adjusted(margin, 0, -margin, 0);
}

QRect CellTextPainter::CaretRect(const QStyleOptionViewItem& base, const QModelIndex& index) const {
  const CellEdit edit = edit_of_ ? edit_of_(index) : CellEdit{};
  if (!edit.editing) return {};
  QStyleOptionViewItem option = base;
  initStyleOption(&option, index);
  const QFontMetrics metrics(option.font);
  const QRect box = TextRect(option);
  const int cursor = edit.preedit_cursor < 0 ? static_cast<int>(edit.preedit.size()) : edit.preedit_cursor;
  const int whole = metrics.horizontalAdvance(option.text) + metrics.horizontalAdvance(edit.preedit);
  const int x = AlignedLeft(box, whole, option.displayAlignment) + metrics.horizontalAdvance(option.text) +
                metrics.horizontalAdvance(edit.preedit.left(cursor));
  const int height = std::min(box.height(), metrics.height());
  return QRect(std::min(x, box.right()), box.top() + (box.height() - height) / 2, 1, height);
}

void CellTextPainter::paint(QPainter* painter, const QStyleOptionViewItem& base, const QModelIndex& index) const {
  QStyleOptionViewItem option = base;
  option.state &= ~QStyle::State_HasFocus;
  // The cell's own colours, also for the active cell.
  option.state &= ~QStyle::State_Selected;
  const CellEdit edit = edit_of_ ? edit_of_(index) : CellEdit{};
  if (!edit.editing) {
    QStyledItemDelegate::paint(painter, option, index);
  } else {
    // The editor's text, then the composition underlined, then the caret.
    initStyleOption(&option, index);
    painter->save();
    painter->setClipRect(option.rect);
    painter->fillRect(option.rect, option.backgroundBrush);
    const QRect box = TextRect(option);
    const QFontMetrics metrics(option.font);
    const int typed = metrics.horizontalAdvance(option.text);
    const int x = AlignedLeft(box, typed + metrics.horizontalAdvance(edit.preedit), option.displayAlignment);
    const int baseline = box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent();
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(QPoint(x, baseline), option.text);
    if (!edit.preedit.isEmpty()) {
      QFont underlined = option.font;
      underlined.setUnderline(true);
      painter->setFont(underlined);
      painter->drawText(QPoint(x + typed, baseline), edit.preedit);
    }
    painter->fillRect(CaretRect(base, index), option.palette.color(QPalette::Text));
    painter->restore();
  }
  if (index.data(kCellTypeRole).toInt() == static_cast<int>(grid::CellType::kComboBox)) {
    QStyleOption arrow;
    const int w = std::min(base.rect.height(), 14);
    arrow.rect = QRect(base.rect.right() - w, base.rect.top(), w, base.rect.height());
    arrow.palette = base.palette;
    QApplication::style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter);
  }
  if (base.state & QStyle::State_HasFocus) {
    painter->save();
    painter->setPen(QPen(base.palette.color(QPalette::Text), 2));
    painter->drawRect(base.rect.adjusted(1, 1, -1, -1));
    painter->restore();
  }
}

}  // namespace qz::qt
