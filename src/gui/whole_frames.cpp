#include "gui/whole_frames.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionFrame>

#include <cmath>

namespace waymint::gui {
namespace {

bool fractional(qreal ratio) { return std::abs(ratio - std::round(ratio)) > 0.01; }

// Fills the four edges of `rect`, `thickness` device pixels each, on whole device pixels
// inside it. False when the painter is turned or sheared, where no such pixels can be told.
bool fillEdges(QPainter* painter, const QRect& rect, int thickness, const QColor& color) {
  const QTransform toDevice = painter->deviceTransform();
  bool invertible = false;
  const QTransform toLogical = toDevice.inverted(&invertible);
  if (!invertible || toDevice.isRotating()) return false;
  // The pixels the widget surely owns, however its fractional edges were rounded.
  const QRectF device = toDevice.mapRect(QRectF(rect));
  constexpr qreal slack = 1e-3;
  const qreal left = std::ceil(device.left() - slack), top = std::ceil(device.top() - slack);
  const qreal right = std::floor(device.right() + slack);
  const qreal bottom = std::floor(device.bottom() + slack);
  const qreal width = right - left, height = bottom - top;
  if (width < 2 * thickness || height < 2 * thickness) return false;
  const QRectF edges[] = {{left, top, width, qreal(thickness)},
                          {left, bottom - thickness, width, qreal(thickness)},
                          {left, top, qreal(thickness), height},
                          {right - thickness, top, qreal(thickness), height}};
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  for (const QRectF& edge : edges) painter->fillRect(toLogical.mapRect(edge), color);
  painter->restore();
  return true;
}

}  // namespace

void WholeFramesStyle::drawControl(ControlElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
  const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
  const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
  if (element == CE_ShapedFrame && frame && fractional(ratio)) {
    const int thickness = std::max(1, static_cast<int>(std::lround(ratio * frame->lineWidth)));
    const QPalette& palette = frame->palette;
    if (frame->frameShape == QFrame::StyledPanel) {
      // The colour the common styles draw a panel's edge in: the window's, darkened.
      const QColor edge = palette.color(QPalette::Window).darker(140).lighter(108);
      if (fillEdges(painter, frame->rect, thickness, edge)) return;
    } else if (frame->frameShape == QFrame::Box && !(frame->state & (State_Sunken | State_Raised))) {
      // A plain box, in the text's colour.
      if (fillEdges(painter, frame->rect, thickness, palette.color(QPalette::WindowText))) return;
    }
  }
  QProxyStyle::drawControl(element, option, painter, widget);
}

void WholeFramesStyle::install() {
  if (dynamic_cast<WholeFramesStyle*>(QApplication::style())) return;
  QApplication::setStyle(new WholeFramesStyle);
}

}  // namespace waymint::gui
