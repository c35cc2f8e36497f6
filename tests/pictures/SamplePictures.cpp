#include "SamplePictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <random>

namespace lwtest {
namespace {

// Adds noise of the given strength to every channel (a fixed seed: the same picture each run).
void AddNoise(QImage& image, int strength, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> d(-strength, strength);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int n = d(rng);
      row[x] = qRgb(std::clamp(qRed(row[x]) + n, 0, 255), std::clamp(qGreen(row[x]) + n, 0, 255),
                    std::clamp(qBlue(row[x]) + n, 0, 255));
    }
  }
}

}  // namespace

QImage MakePhoto(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, h * 0.6);
  sky.setColorAt(0, QColor(40, 90, 170));
  sky.setColorAt(1, QColor(200, 220, 240));
  p.fillRect(image.rect(), sky);
  QRadialGradient sun(w * 0.75, h * 0.2, w * 0.12);
  sun.setColorAt(0, QColor(255, 250, 220));
  sun.setColorAt(0.5, QColor(255, 220, 120));
  sun.setColorAt(1, QColor(255, 220, 120, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(sun);
  p.drawEllipse(QPointF(w * 0.75, h * 0.2), w * 0.12, w * 0.12);
  QPainterPath hills;
  hills.moveTo(0, h * 0.55);
  hills.cubicTo(w * 0.25, h * 0.35, w * 0.45, h * 0.65, w * 0.7, h * 0.45);
  hills.cubicTo(w * 0.85, h * 0.38, w * 0.95, h * 0.5, w, h * 0.48);
  hills.lineTo(w, h);
  hills.lineTo(0, h);
  QLinearGradient grass(0, h * 0.4, 0, h);
  grass.setColorAt(0, QColor(90, 140, 60));
  grass.setColorAt(1, QColor(20, 50, 20));
  p.setBrush(grass);
  p.drawPath(hills);
  // A house with a dark roof and a lit window: edges and small flat areas.
  const QRectF house(w * 0.18, h * 0.55, w * 0.22, h * 0.18);
  p.setBrush(QColor(210, 190, 160));
  p.drawRect(house);
  QPolygonF roof({QPointF(house.left() - w * 0.02, house.top()),
                  QPointF(house.center().x(), house.top() - h * 0.1),
                  QPointF(house.right() + w * 0.02, house.top())});
  p.setBrush(QColor(110, 40, 30));
  p.drawPolygon(roof);
  p.setBrush(QColor(250, 230, 120));
  p.drawRect(QRectF(house.left() + house.width() * 0.2, house.top() + house.height() * 0.25,
                    house.width() * 0.25, house.height() * 0.3));
  // Fine detail: thin fence posts.
  p.setPen(QPen(QColor(60, 40, 20), std::max(1.0, w / 400.0)));
  for (int i = 0; i < 24; ++i) {
    const double x = w * (0.5 + i * 0.02);
    p.drawLine(QPointF(x, h * 0.78), QPointF(x, h * 0.86));
  }
  p.drawLine(QPointF(w * 0.5, h * 0.8), QPointF(w * 0.98, h * 0.8));
  // A grey ramp along the bottom: every tone from black to white.
  QLinearGradient ramp(0, 0, w, 0);
  ramp.setColorAt(0, Qt::black);
  ramp.setColorAt(1, Qt::white);
  p.setPen(Qt::NoPen);
  p.fillRect(QRectF(0, h * 0.92, w, h * 0.08), ramp);
  p.end();
  AddNoise(image, 6, 1);
  return image;
}

QImage MakeLogo(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 30, 40));  // flat red disc
  p.drawEllipse(QRectF(w * 0.05, h * 0.15, h * 0.7, h * 0.7));
  p.setBrush(QColor(20, 70, 160));  // flat blue bar
  p.drawRoundedRect(QRectF(w * 0.05, h * 0.88, w * 0.9, h * 0.07), 6, 6);
  p.setBrush(Qt::black);  // solid black square inside the disc
  p.drawRect(QRectF(w * 0.05 + h * 0.22, h * 0.37, h * 0.26, h * 0.26));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(int(h * 0.28));
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(QRectF(w * 0.05 + h * 0.8, h * 0.2, w, h * 0.35), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Vantrel"));
  font.setBold(false);
  font.setPixelSize(int(h * 0.12));
  p.setFont(font);
  p.setPen(QColor(90, 90, 90));  // flat grey slogan
  p.drawText(QRectF(w * 0.05 + h * 0.8, h * 0.55, w, h * 0.2), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("office machines"));
  p.end();
  return image;
}

QImage MakeSignature(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(QColor(236, 234, 228));
  AddNoise(image, 8, 2);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(25, 30, 70), std::max(2.0, h / 40.0), Qt::SolidLine, Qt::RoundCap,
                Qt::RoundJoin));
  QPainterPath path;
  path.moveTo(w * 0.06, h * 0.65);
  path.cubicTo(w * 0.12, h * 0.1, w * 0.2, h * 0.1, w * 0.18, h * 0.7);
  path.cubicTo(w * 0.17, h * 0.9, w * 0.28, h * 0.3, w * 0.33, h * 0.55);
  path.cubicTo(w * 0.37, h * 0.75, w * 0.42, h * 0.3, w * 0.47, h * 0.5);
  path.cubicTo(w * 0.52, h * 0.7, w * 0.55, h * 0.2, w * 0.62, h * 0.45);
  path.cubicTo(w * 0.68, h * 0.65, w * 0.75, h * 0.35, w * 0.92, h * 0.4);
  p.drawPath(path);
  p.setPen(QPen(QColor(25, 30, 70), std::max(1.5, h / 60.0), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(w * 0.1, h * 0.85), QPointF(w * 0.8, h * 0.8));  // underline
  p.end();
  return image;
}

}  // namespace lwtest
