#include "gui/shown_text.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cctype>
#include <optional>
#include <utility>

namespace waymint::gui {

namespace {

// The character a reference names (the text between "&" and ";"), if it is one XML allows.
std::optional<QString> referenced(QStringView name) {
  static const std::pair<QStringView, QChar> named[] = {
      {u"lt", u'<'}, {u"gt", u'>'}, {u"amp", u'&'}, {u"quot", u'"'}, {u"apos", u'\''}};
  for (const auto& [word, character] : named) {
    if (name == word) return QString(character);
  }
  if (name.size() < 2 || name[0] != u'#') return std::nullopt;
  const bool hex = name[1] == u'x';
  const QStringView digits = name.mid(hex ? 2 : 1);
  if (digits.isEmpty() || digits.size() > 8) return std::nullopt;
  for (QChar digit : digits) {
    const char16_t unit = digit.unicode();
    if (unit >= 128 || !(hex ? std::isxdigit(unit) : std::isdigit(unit))) return std::nullopt;
  }
  const char32_t code = digits.toUInt(nullptr, hex ? 16 : 10);
  const bool allowed = code == 0x9 || code == 0xA || code == 0xD ||
                       (code >= 0x20 && code <= 0xD7FF) || (code >= 0xE000 && code <= 0xFFFD) ||
                       (code >= 0x10000 && code <= 0x10FFFF);
  if (!allowed) return std::nullopt;
  return QString::fromUcs4(&code, 1);
}

}  // namespace

QString decodeEntities(const QString& text) {
  if (!text.contains(u'&')) return text;
  constexpr qsizetype longestReference = 10;  // "&#x10FFFF;" and "&#1114111;"
  QString decoded;
  decoded.reserve(text.size());
  qsizetype at = 0;
  while (at < text.size()) {
    if (text[at] == u'&') {
      const QStringView after = QStringView(text).mid(at + 1, longestReference - 1);
      const qsizetype length = after.indexOf(u';');
      if (length >= 0) {
        if (auto character = referenced(after.left(length))) {
          decoded += *character;
          at += length + 2;
          continue;
        }
      }
    }
    decoded += text[at++];
  }
  return decoded;
}

QString elidePath(const QString& text, const QFontMetrics& metrics, int width) {
  const auto fits = [&](const QString& shown) { return metrics.horizontalAdvance(shown) <= width; };
  if (fits(text)) return text;
  std::vector<qsizetype> separators;
  for (qsizetype at = 0; at < text.size(); ++at) {
    if (text[at] == u'/' || text[at] == u'\\') separators.push_back(at);
  }
  // The names up to separator `head` and from separator `tail` on, the names between left out.
  const auto shown = [&](size_t head, size_t tail) {
    return text.left(separators[head] + 1) + u'\u2026' + text.mid(separators[tail]);
  };
  if (separators.size() < 2 || !fits(shown(0, separators.size() - 1))) {
    return metrics.elidedText(text, Qt::ElideMiddle, width);
  }
  size_t head = 0;
  size_t tail = separators.size() - 1;
  for (bool grown = true; grown;) {  // more of the end first, then more of the start
    grown = false;
    if (tail - 1 > head && fits(shown(head, tail - 1))) grown = (--tail, true);
    if (head + 1 < tail && fits(shown(head + 1, tail))) grown = (++head, true);
  }
  return shown(head, tail);
}

QString ElidedLabel::shownText() const {
  return elidePath(text(), fontMetrics(), contentsRect().width());
}

QSize ElidedLabel::sizeHint() const { return minimumSizeHint(); }

QSize ElidedLabel::minimumSizeHint() const {
  const QMargins margins = contentsMargins();
  return {
      fontMetrics().horizontalAdvance(QStringLiteral("\u2026")) + margins.left() + margins.right(),
      QLabel::minimumSizeHint().height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawFrame(&painter);
  const Qt::Alignment alignment = QStyle::visualAlignment(layoutDirection(), this->alignment());
  style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment), palette(),
                        isEnabled(), shownText(), foregroundRole());
}

QRect ElidedLineEdit::textArea() const {
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  // The contents less the margins a line edit keeps around its text (2 across, 1 up and down).
  return style()
      ->subElementRect(QStyle::SE_LineEditContents, &panel, this)
      .marginsRemoved(textMargins())
      .adjusted(2, 1, -2, -1);
}

QString ElidedLineEdit::shownText() const {
  if (hasFocus()) return text();
  return elidePath(text(), fontMetrics(), textArea().width());
}

void ElidedLineEdit::paintEvent(QPaintEvent* event) {
  const QString shown = shownText();
  if (shown == text()) {
    QLineEdit::paintEvent(event);
    return;
  }
  QPainter painter(this);
  QStyleOptionFrame panel;
  initStyleOption(&panel);
  style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
  painter.drawText(textArea(), static_cast<int>(Qt::AlignVCenter | Qt::AlignLeft), shown);
}

}  // namespace waymint::gui
