#pragma once

#include <QStyledItemDelegate>

namespace waymint::gui {

// Draws the entries of a list as the desktop does, and shows an entry cut short at the list's
// edge (ending in "…") whole as the tooltip of the pointer resting on it. An entry shown whole
// has no tooltip.
class CutNameTips : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;

  // Whether the entry at `index` is cut short in `view` as it stands.
  static bool isCut(const QAbstractItemView& view, const QModelIndex& index);
};

}  // namespace waymint::gui
