#include "gui/cut_name_tips.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace waymint::gui {

bool CutNameTips::isCut(const QAbstractItemView& view, const QModelIndex& index) {
  const QString text = index.data(Qt::DisplayRole).toString();
  if (text.isEmpty()) return false;
  // The room the style gives the text: the entry's width, visible part only, less the text
  // margins on both sides.
  const QRect entry = view.visualRect(index).intersected(view.viewport()->rect());
  const QStyle* style = view.style() ? view.style() : QApplication::style();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1;
  const int room = entry.width() - 2 * margin;
  return view.fontMetrics().horizontalAdvance(text) > room;
}

bool CutNameTips::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                            const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip) {
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }
  if (index.isValid() && isCut(*view, index)) {
    QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view,
                       view->visualRect(index));
  } else {
    QToolTip::hideText();
  }
  return true;
}

}  // namespace waymint::gui
