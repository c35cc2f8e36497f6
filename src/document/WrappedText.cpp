#include "document/WrappedText.h"

#include <QFontMetrics>
#include <QHash>

#include <cmath>

namespace lw {
namespace {

const QString kTabBlanks = QStringLiteral("        ");  // a tab becomes eight blanks

// Characters of one code point: a surrogate pair counts as one.
int CharLength(QStringView s, int i) {
  return (i + 1 < s.size() && s[i].isHighSurrogate() && s[i + 1].isLowSurrogate()) ? 2 : 1;
}

}  // namespace

std::vector<WrappedLine> WrapText(const LRect& rect, QString text, int lineHeight,
                                  const TextMeasure& measure) {
  std::vector<WrappedLine> lines;
  int top = rect.top;
  const int bottom = rect.bottom;
  const qint64 available = qint64(rect.right) - rect.left;
  bool lineDrawn = false;       // a line was drawn: the next step first moves down
  bool endedWithCrLf = false;   // the last line drawn ended with CR LF
  auto draw = [&](int from, int to) {
    lines.push_back({text.mid(from, to - from), top});
    lineDrawn = true;
  };

  int v = 0;  // start of the current line
  int i = 0;
  while (i < text.size()) {
    if (lineDrawn) {
      top -= lineHeight;
      lineDrawn = false;
      // A carriage return right where a line broke for width starts an empty line.
      if (!endedWithCrLf && i == v && text[i] == u'\r' && i + 1 < text.size() &&
          text[i + 1] == u'\n') {
        draw(i, i);
        i += 2;
        v = i;
        endedWithCrLf = true;
        continue;
      }
    }
    if (bottom > top) return lines;  // no room left

    const QChar c = text[i];
    if (c == u'\t') {
      if (measure(QStringView(text).mid(v, i - v)) + measure(kTabBlanks) > available) {
        // The tab does not fit: the line ends here and the next one starts with a blank.
        text[i] = u' ';
        lines.push_back({text.mid(v, i - v) + kTabBlanks, top});
        lineDrawn = true;
        endedWithCrLf = false;
        v = i;
      } else {
        text.replace(i, 1, kTabBlanks);
      }
    } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      draw(v, i + 1);
      endedWithCrLf = true;
      i += 2;
      v = i;
      continue;
    }

    const int end = i + CharLength(text, i);
    if (measure(QStringView(text).mid(v, end - v)) > available) {
      if (v == i) {
        // A single character wider than the box: it gets a line of its own.
        draw(v, end);
        v = end;
      } else {
        draw(v, i);
        v = i;
      }
      endedWithCrLf = false;
    }
    i = end;
  }
  if (lineDrawn) top -= lineHeight;
  lines.push_back({text.mid(v), top});
  return lines;
}

void DrawWrappedText(RenderContext& dc, const QFont& font, const QColor& color,
                     const LRect& rect, const QString& text, unsigned format) {
  const QFontMetrics metrics(font);
  const QFontMetricsF metricsF(font);
  // A run's width is the sum of its characters' advances (kerning is off), each measured
  // once: the line breaking measures the growing line after every character.
  QHash<char32_t, double> advances;
  const TextMeasure measure = [&](QStringView run) {
    double width = 0;
    for (qsizetype i = 0; i < run.size();) {
      const qsizetype n = CharLength(run, int(i));
      const char32_t cp = n == 2 ? QChar::surrogateToUcs4(run[i], run[i + 1]) : run[i].unicode();
      auto it = advances.constFind(cp);
      if (it == advances.constEnd())
        it = advances.insert(cp, metricsF.horizontalAdvance(run.mid(i, n).toString()));
      width += *it;
      i += n;
    }
    return int(std::lround(width));
  };
  const std::vector<WrappedLine> lines = WrapText(rect, text, metrics.height(), measure);
  const qint64 available = qint64(rect.right) - rect.left;

  QPainter& p = *dc.painter;
  p.save();
  p.setFont(font);
  p.setPen(color);
  p.setBackgroundMode(Qt::TransparentMode);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  const QTransform base = p.transform();
  const double sx = dc.ScaleX(), sy = dc.ScaleY();
  for (const WrappedLine& line : lines) {
    QString run = line.text;
    run.remove(u'\r');
    run.remove(u'\n');
    int width = measure(run);
    if (width > available) {
      // Blanks at the end of a line that does not fit are not shown (a tab that broke the
      // line): the line is aligned by its visible text.
      int n = int(run.size());
      while (n > 0 && run[n - 1] == u' ') --n;
      if (n < run.size()) {
        run.truncate(n);
        width = measure(run);
      }
    }
    if (run.isEmpty()) continue;
    double x = rect.left;
    if (format & DT_RIGHT)
      x = double(rect.right) - width;
    else if (format & DT_CENTER)
      x = double(rect.left) + double(available - width) / 2;
    // Page units, y downwards, origin at the line's top-left corner.
    const QPointF origin = dc.Map(x, line.top);
    QTransform t = base;
    t.translate(origin.x(), origin.y());
    t.scale(sx, sy);
    p.setTransform(t);
    p.drawText(QPointF(0, metrics.ascent()), run);
  }
  p.restore();
}

}  // namespace lw
