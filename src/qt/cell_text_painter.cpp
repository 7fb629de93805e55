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
  auto blank = [](QChar c) {
    return c == QLatin1Char(' ') || c == kFullWidthBlank || c == QLatin1Char('\r') || c == QLatin1Char('\n');
  };
  while (end > 0 && blank(text[end - 1])) --end;
  return end == text.size() ? text : text.left(end);
}

QString ShownComboEntry(const QString& entry) {
  QString text = entry;
  text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
  const qsizetype padding = text.indexOf(QLatin1String("  "));
  if (padding >= 0) text.truncate(padding);
  return WithoutTrailingBlanks(text);
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

namespace {

int TextMargin(const QWidget* widget) {
  const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
}

}  // namespace

int ColumnPixels(double chars, double char_px, const QWidget* widget) {
  if (chars <= 0) return 0;
  return static_cast<int>(std::ceil(chars * char_px)) + 2 * TextMargin(widget);
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

CellTextPainter::Place CellTextPainter::PlaceText(const QStyleOptionViewItem& option, const CellEdit& edit) const {
  const int margin = TextMargin(option.widget);
  const QFontMetrics metrics(option.font);
  Place p;
  const int whole = metrics.horizontalAdvance(option.text) + metrics.horizontalAdvance(edit.preedit);
  p.box = option.rect.adjusted(margin, 0, -margin, 0);
  // A text that fits the cell but not its margins takes the margins.
  if (whole > p.box.width() && whole <= option.rect.width() - 2) p.box = option.rect.adjusted(1, 0, -1, 0);
  p.x = AlignedLeft(p.box, whole, option.displayAlignment);
  p.baseline = p.box.top() + (p.box.height() - metrics.height()) / 2 + metrics.ascent();
  return p;
}

namespace {

// The caret of `edit` within `text`, clamped.
int CaretIn(const CellEdit& edit, const QString& text) {
  const int length = static_cast<int>(text.size());
  return edit.caret < 0 ? length : std::min(edit.caret, length);
}

}  // namespace

QRect CellTextPainter::CaretRect(const QStyleOptionViewItem& base, const QModelIndex& index) const {
  const CellEdit edit = edit_of_ ? edit_of_(index) : CellEdit{};
  if (!edit.editing) return {};
  QStyleOptionViewItem option = base;
  initStyleOption(&option, index);
  const QFontMetrics metrics(option.font);
  const Place p = PlaceText(option, edit);
  const int cursor = edit.preedit_cursor < 0 ? static_cast<int>(edit.preedit.size()) : edit.preedit_cursor;
  const int x = p.x + metrics.horizontalAdvance(option.text.left(CaretIn(edit, option.text))) +
                metrics.horizontalAdvance(edit.preedit.left(cursor));
  const int height = std::min(p.box.height(), metrics.height());
  return QRect(std::min(x, p.box.right()), p.box.top() + (p.box.height() - height) / 2, 1, height);
}

void CellTextPainter::paint(QPainter* painter, const QStyleOptionViewItem& base, const QModelIndex& index) const {
  QStyleOptionViewItem option = base;
  option.state &= ~QStyle::State_HasFocus;
  // The cell's own colours, also for the active cell.
  option.state &= ~QStyle::State_Selected;
  if (index.data(Qt::CheckStateRole).isValid()) {
    QStyledItemDelegate::paint(painter, option, index);
  } else {
    // One line of text: the editor's text, then the composition underlined,
    // then the caret, in the cell being edited.
    const CellEdit edit = edit_of_ ? edit_of_(index) : CellEdit{};
    initStyleOption(&option, index);
    painter->save();
    painter->setClipRect(option.rect);
    painter->fillRect(option.rect, option.backgroundBrush);
    const Place p = PlaceText(option, edit);
    const QFontMetrics metrics(option.font);
    const int caret = CaretIn(edit, option.text);
    const QString before = option.text.left(caret), after = option.text.mid(caret);
    if (edit.editing && edit.anchor >= 0 && edit.preedit.isEmpty()) {
      const int anchor = std::min(edit.anchor, static_cast<int>(option.text.size()));
      const int from = std::min(caret, anchor), to = std::max(caret, anchor);
      const int left = p.x + metrics.horizontalAdvance(option.text.left(from));
      const int right = p.x + metrics.horizontalAdvance(option.text.left(to));
      if (right > left) {
        painter->fillRect(QRect(left, p.box.top() + 1, right - left, p.box.height() - 2),
                          option.palette.color(QPalette::Highlight));
      }
    }
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setFont(option.font);
    painter->drawText(QPoint(p.x, p.baseline), before);
    int x = p.x + metrics.horizontalAdvance(before);
    if (!edit.preedit.isEmpty()) {
      QFont underlined = option.font;
      underlined.setUnderline(true);
      painter->setFont(underlined);
      painter->drawText(QPoint(x, p.baseline), edit.preedit);
      x += QFontMetrics(underlined).horizontalAdvance(edit.preedit);
      painter->setFont(option.font);
    }
    painter->drawText(QPoint(x, p.baseline), after);
    if (edit.editing) painter->fillRect(CaretRect(base, index), option.palette.color(QPalette::Text));
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
