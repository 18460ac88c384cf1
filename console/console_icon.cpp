#include "console_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

// The host's podium with a golden desk bell on it and a stopwatch beside the
// bell. Drawn on a 256-unit canvas and scaled, so every size shows the same
// picture; the shapes are bold enough to read at 64 pixels.
QImage consoleIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (size <= 0)
        return image;

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    p.setPen(Qt::NoPen);

    // Shadow on the floor.
    QRadialGradient shadow(QPointF(128, 238), 120);
    shadow.setColorAt(0.0, QColor(0, 0, 0, 80));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawEllipse(QRectF(16, 222, 224, 30));

    // Podium front: a trapezoid, wider at the bottom, deep blue.
    QPainterPath front;
    front.moveTo(58, 128);
    front.lineTo(198, 128);
    front.lineTo(214, 238);
    front.lineTo(42, 238);
    front.closeSubpath();
    QLinearGradient frontFill(42, 0, 214, 0);
    frontFill.setColorAt(0.0, QColor(22, 58, 128));
    frontFill.setColorAt(0.5, QColor(44, 100, 196));
    frontFill.setColorAt(1.0, QColor(18, 48, 110));
    p.setBrush(frontFill);
    p.drawPath(front);

    // A gold band across the front.
    QPainterPath band;
    band.moveTo(54, 160);
    band.lineTo(202, 160);
    band.lineTo(205, 180);
    band.lineTo(51, 180);
    band.closeSubpath();
    p.setBrush(QColor(238, 186, 52));
    p.drawPath(band);

    // Desk top: a slab overhanging the front.
    QLinearGradient slab(0, 112, 0, 134);
    slab.setColorAt(0.0, QColor(150, 98, 58));
    slab.setColorAt(1.0, QColor(96, 58, 30));
    p.setBrush(slab);
    p.drawRoundedRect(QRectF(34, 114, 188, 20), 6, 6);

    // Desk bell: base plate, dome, knob.
    QLinearGradient plate(0, 100, 0, 116);
    plate.setColorAt(0.0, QColor(70, 70, 76));
    plate.setColorAt(1.0, QColor(30, 30, 34));
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(52, 100, 112, 16), 7, 7);

    QRadialGradient gold(QPointF(92, 56), 90);
    gold.setColorAt(0.0, QColor(255, 244, 170));
    gold.setColorAt(0.4, QColor(246, 196, 48));
    gold.setColorAt(1.0, QColor(170, 112, 10));
    QPainterPath bell;
    bell.moveTo(58, 104);
    bell.cubicTo(58, 46, 158, 46, 158, 104);
    bell.closeSubpath();
    p.setBrush(gold);
    p.drawPath(bell);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QRectF(78, 62, 26, 14));

    p.setBrush(QColor(120, 120, 128));
    p.drawRect(QRectF(104, 40, 8, 16));
    p.setBrush(QColor(70, 70, 76));
    p.drawRoundedRect(QRectF(94, 32, 28, 10), 5, 5);

    // Stopwatch to the right of the bell: crown, case, face, hand.
    p.setBrush(QColor(70, 70, 76));
    p.drawRoundedRect(QRectF(184, 36, 16, 10), 3, 3);
    p.drawRect(QRectF(189, 44, 6, 8));
    QRadialGradient rim(QPointF(186, 70), 44);
    rim.setColorAt(0.0, QColor(235, 238, 245));
    rim.setColorAt(1.0, QColor(120, 126, 140));
    p.setBrush(rim);
    p.drawEllipse(QPointF(192, 82), 34, 34);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(192, 82), 26, 26);
    // The elapsed part of the dial, in red, with the hand at its edge.
    p.setBrush(QColor(226, 44, 40, 200));
    p.drawPie(QRectF(192 - 22, 82 - 22, 44, 44), 90 * 16, -120 * 16);
    QPen hand(QColor(30, 30, 36), 5, Qt::SolidLine, Qt::RoundCap);
    p.setPen(hand);
    p.drawLine(QPointF(192, 82), QPointF(192 + 19, 82 + 11));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 36));
    p.drawEllipse(QPointF(192, 82), 4.5, 4.5);

    return image;
}
