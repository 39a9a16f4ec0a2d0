// Every frame of the main window drawn whole, at whatever scaling the tests run (ctest runs
// them at 100 % and again at 125 % and 150 %, where a frame's edge falls between two device
// pixels).
#include "gui/bindings.h"
#include "view_support.h"

namespace waymint::testing {
namespace {

int lightness(QRgb pixel) { return qRed(pixel) + qGreen(pixel) + qBlue(pixel); }

// Whether the edge of the frame `device` (the frame's rectangle in device pixels of `image`)
// shows at `along` (0 to 1) on side `side` (0 top, 1 right, 2 bottom, 3 left): a pixel darker
// than both the surface outside the frame and its inside, within reach of the edge.
bool edgeShows(const QImage& image, const QRectF& device, int side, double along, double ratio) {
  const bool horizontal = side == 0 || side == 2;
  const double position = horizontal ? device.left() + along * device.width()
                                     : device.top() + along * device.height();
  const double edge = side == 0 ? device.top()
                      : side == 1 ? device.right()
                      : side == 2 ? device.bottom()
                                  : device.left();
  const int inward = side == 0 || side == 3 ? 1 : -1;
  const auto pixel = [&](double depth) {
    const double across = edge + inward * depth;
    const int x = static_cast<int>(std::floor(horizontal ? position : across));
    const int y = static_cast<int>(std::floor(horizontal ? across : position));
    return image.valid(x, y) ? lightness(image.pixel(x, y)) : -1;
  };
  const int outside = pixel(-1.5 * ratio - 1);
  const int inside = pixel(4 * ratio + 2);
  for (double depth = -1; depth <= 2 * ratio + 1; depth += 0.5) {
    const int shown = pixel(depth);
    if (shown >= 0 && shown + 30 < std::min(outside, inside)) return true;
  }
  return false;
}

// The frames of `window` whose edges do not all show, each with the sides that lack: "List2 top".
std::vector<std::string> framesCut(QWidget& window) {
  const QImage image = window.grab().toImage();
  const double ratio = image.devicePixelRatio();
  std::vector<std::string> cut;
  for (QFrame* frame : window.findChildren<QFrame*>()) {
    const QFrame::Shape shape = frame->frameShape();
    const bool boxed = shape == QFrame::Box || shape == QFrame::Panel ||
                       shape == QFrame::StyledPanel || shape == QFrame::WinPanel;
    if (!boxed || !frame->isVisibleTo(&window) || frame->objectName().isEmpty()) continue;
    const QRectF device(QPointF(frame->mapTo(&window, QPoint(0, 0))) * ratio,
                        QSizeF(frame->size()) * ratio);
    const char* sides[] = {"top", "right", "bottom", "left"};
    for (int side = 0; side < 4; ++side) {
      for (double along : {0.2, 0.35, 0.65, 0.8}) {
        if (!edgeShows(image, device, side, along, ratio)) {
          cut.push_back(frame->objectName().toStdString() + " " + sides[side]);
          break;
        }
      }
    }
  }
  return cut;
}

TEST_F(WindowViews, EveryFrameIsDrawnWhole) {
  program.f1.Frame1.setVisible(true);  // the notice, as a category without GPX shows it
  const QSize minimum = main->minimumSize();
  // A frame's edge falls on another fraction of a device pixel with every pixel the window
  // grows, up to four of them at 125 %.
  for (int grown = 0; grown < 4; ++grown) {
    const QSize size = minimum + QSize(grown * 37, grown * 23);
    main->resize(size);
    ASSERT_EVENTUALLY_EQ(main->size(), size);
    main->bindings().flush();
    QCoreApplication::processEvents();
    SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()) + " at " +
                 std::to_string(main->devicePixelRatioF()));
    EXPECT_EQ(framesCut(*main), std::vector<std::string>());
  }
}

}  // namespace
}  // namespace waymint::testing
