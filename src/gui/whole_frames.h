#pragma once

#include <QProxyStyle>

namespace waymint::gui {

// The desktop's style, but for the frames of lists, panels and boxes at a fractional scaling
// (125 %, 150 %): there a frame's edge falls between two device pixels, and the style's line,
// drawn on the edge, may fall outside what the widget may paint and vanish. This style fills
// each edge inside the widget, on whole device pixels, so that every frame shows all four.
class WholeFramesStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;

  // Makes it the application's style, once.
  static void install();
};

}  // namespace waymint::gui
