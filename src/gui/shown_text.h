#pragma once

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QString>

namespace waymint::gui {

// A text as people read it: the references &lt; &gt; &amp; &quot; &apos; &#N; and &#xH;
// replaced by their characters. Anything else, a malformed reference included, stays.
QString decodeEntities(const QString& text);

// A path shortened to `width` pixels in its middle: whole folder names are left out
// ("/home/…/cafe/cafe.gpx"), never part of a name, unless even its first and last names are too
// wide or it has none: then it is cut in the middle of its characters.
QString elidePath(const QString& text, const QFontMetrics& metrics, int width);

// A label that shows a path too long for its room shortened in the middle (elidePath), so
// that both ends stay readable; it asks the layout for little width of its own.
class ElidedLabel : public QLabel {
 public:
  using QLabel::QLabel;
  // The text as drawn at the label's present width.
  QString shownText() const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A line edit that, while it has no focus, draws a path too long for it shortened in the middle;
// while it is edited it shows the whole text. Its text is always the whole text.
class ElidedLineEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  QString shownText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect textArea() const;
};

}  // namespace waymint::gui
