#include "buzzer_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

// A big round red buzz button on a dark round base, seen slightly from above.
// Drawn on a 256-unit canvas and scaled, so every size shows the same picture.
QImage buzzerIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (size <= 0)
        return image;

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    p.setPen(Qt::NoPen);

    // Soft shadow under the base.
    QRadialGradient shadow(QPointF(128, 214), 110);
    shadow.setColorAt(0.0, QColor(0, 0, 0, 90));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setBrush(shadow);
    p.drawEllipse(QRectF(14, 188, 228, 56));

    // Base: a short dark cylinder (side, then top face).
    QLinearGradient side(16, 0, 240, 0);
    side.setColorAt(0.0, QColor(40, 42, 48));
    side.setColorAt(0.45, QColor(92, 96, 106));
    side.setColorAt(1.0, QColor(30, 32, 38));
    QPainterPath basePath;
    basePath.addEllipse(QRectF(16, 150, 224, 76));
    basePath.addRect(QRectF(16, 150 + 38 - 30, 224, 30));
    QPainterPath baseTop;
    baseTop.addEllipse(QRectF(16, 120, 224, 76));
    p.setBrush(side);
    p.drawPath(basePath.united(baseTop));
    QLinearGradient topFace(0, 120, 0, 196);
    topFace.setColorAt(0.0, QColor(118, 122, 134));
    topFace.setColorAt(1.0, QColor(58, 60, 68));
    p.setBrush(topFace);
    p.drawEllipse(QRectF(16, 120, 224, 76));

    // Collar the button sits in.
    p.setBrush(QColor(28, 28, 32));
    p.drawEllipse(QRectF(40, 126, 176, 60));

    // The button: a red dome, its skirt first, then the cap.
    QLinearGradient skirt(48, 0, 208, 0);
    skirt.setColorAt(0.0, QColor(150, 10, 14));
    skirt.setColorAt(0.4, QColor(225, 38, 40));
    skirt.setColorAt(1.0, QColor(120, 6, 10));
    QPainterPath dome;
    dome.moveTo(48, 152);
    dome.lineTo(48, 118);
    dome.cubicTo(48, 40, 208, 40, 208, 118);
    dome.lineTo(208, 152);
    dome.arcTo(QRectF(48, 126, 160, 52), 0, -180);
    dome.closeSubpath();
    p.setBrush(skirt);
    p.drawPath(dome);

    QRadialGradient cap(QPointF(108, 78), 120);
    cap.setColorAt(0.0, QColor(255, 120, 110));
    cap.setColorAt(0.35, QColor(236, 40, 36));
    cap.setColorAt(1.0, QColor(150, 8, 12));
    QPainterPath capPath;
    capPath.moveTo(48, 120);
    capPath.cubicTo(48, 40, 208, 40, 208, 120);
    capPath.arcTo(QRectF(48, 94, 160, 52), 0, -180);
    capPath.closeSubpath();
    p.setBrush(cap);
    p.drawPath(capPath);

    // Gloss: a soft white highlight on the upper left of the dome.
    QLinearGradient gloss(0, 52, 0, 104);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 200));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawEllipse(QRectF(74, 54, 86, 40));
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawEllipse(QRectF(88, 62, 22, 12));

    return image;
}
