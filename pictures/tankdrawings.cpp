#include "pictures/tankdrawings.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

#include <algorithm>
#include <functional>

#include "pictures/palette.h"

namespace brimwell::pictures {
namespace {

QLinearGradient verticalShading(const QRectF& r, const QColor& light, const QColor& dark) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, dark.lighter(105));
    g.setColorAt(0.25, light);
    g.setColorAt(1.0, dark);
    return g;
}

QLinearGradient horizontalShading(const QRectF& r, const QColor& light, const QColor& dark) {
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0.0, dark);
    g.setColorAt(0.35, light);
    g.setColorAt(1.0, dark);
    return g;
}

// Outline, shell and interior of one tank, all the same shape at three insets.
struct TankShell {
    std::function<QPainterPath(double inset)> shape;
    QRectF interior;  // bounds of the space the product fills
    double shellWidth = 3;
};

// A shell with straight sides: the flat-ended and the vertical tank.
TankShell rectangularShell(const QRectF& body) {
    TankShell tank;
    tank.shape = [body](double inset) {
        QPainterPath path;
        path.addRect(body.adjusted(inset, inset, -inset, -inset));
        return path;
    };
    tank.interior = body.adjusted(3, 3, -3, -3);
    return tank;
}

// The level of the product surface for a fill of 0 to 100 per cent of the interior's height.
double surfaceY(const QRectF& interior, int percent) {
    return interior.bottom() - interior.height() * percent / 100.0;
}

void drawShellAndProduct(QPainter& p, const TankShell& tank, const QBrush& shellBrush,
                         int percent) {
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawPath(tank.shape(0));
    p.setBrush(shellBrush);
    p.drawPath(tank.shape(1));
    p.setBrush(kOutline);
    p.drawPath(tank.shape(tank.shellWidth - 0.6));

    const QPainterPath interior = tank.shape(tank.shellWidth);
    p.setBrush(kEmpty);
    p.drawPath(interior);
    if (percent == 0)
        return;

    p.save();
    p.setClipPath(interior);
    const double surface = surfaceY(tank.interior, percent);
    p.setBrush(kProduct);
    p.drawRect(QRectF(tank.interior.left() - 1, surface, tank.interior.width() + 2,
                      tank.interior.bottom() - surface + 1));
    if (percent < 100) {
        p.setBrush(kProductSurface);
        p.drawRect(QRectF(tank.interior.left() - 1, surface, tank.interior.width() + 2, 0.8));
    }
    p.restore();
}

// A riser on top of the tank closed by a cap, a probe rod down to the floor of the tank and a
// float riding on the product.
void drawGaugeProbe(QPainter& p, double centreX, double shellTop, const QRectF& interior,
                    int percent, const QColor& light, const QColor& dark) {
    const QRectF riser(centreX - 5, shellTop - 9, 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(kOutline);
    p.drawRect(riser);
    p.setBrush(horizontalShading(riser, light, dark));
    p.drawRect(riser.adjusted(1, 1, -1, 0));

    const QRectF cap(centreX - 7.5, shellTop - 13, 15, 4.5);
    p.setBrush(kOutline);
    p.drawRoundedRect(cap, 1.2, 1.2);
    p.setBrush(horizontalShading(cap, light.darker(115), dark.darker(130)));
    p.drawRoundedRect(cap.adjusted(1, 1, -1, -1), 0.6, 0.6);

    p.setBrush(kProbe);
    p.drawRect(QRectF(centreX - 0.5, shellTop, 1, interior.bottom() - shellTop - 0.5));

    const double floatHeight = 3;
    const double surface = std::clamp(surfaceY(interior, percent), interior.top() + floatHeight / 2,
                                      interior.bottom() - floatHeight / 2);
    p.setBrush(kProbe);
    p.drawRoundedRect(QRectF(centreX - 3, surface - floatHeight / 2, 6, floatHeight), 1, 1);
}

// A pipe from the foot of a vertical tank through a valve, resting on a support.
void drawFootPipe(QPainter& p, const QRectF& body) {
    const QRectF pipe(body.right() - 1, 56, 34, 6);
    p.setBrush(kOutline);
    p.drawRect(QRectF(pipe.right() - 5, pipe.bottom(), 3, 70 - pipe.bottom()));
    p.drawRect(pipe);
    p.setBrush(verticalShading(pipe, kSteelLight, kSteelDark));
    p.drawRect(pipe.adjusted(0, 1, -1, -1));
    for (const double x : {body.right() + 3, pipe.right() - 2}) {
        const QRectF flange(x - 1.5, pipe.top() - 2, 3, pipe.height() + 4);
        p.setBrush(kOutline);
        p.drawRect(flange);
        p.setBrush(verticalShading(flange, kSteelLight, kSteelDark));
        p.drawRect(flange.adjusted(0.8, 0.8, -0.8, -0.8));
    }
    const double valveX = body.right() + 17;
    QPainterPath valve;
    valve.moveTo(valveX - 5, pipe.top() - 2.5);
    valve.lineTo(valveX + 5, pipe.bottom() + 2.5);
    valve.lineTo(valveX + 5, pipe.top() - 2.5);
    valve.lineTo(valveX - 5, pipe.bottom() + 2.5);
    valve.closeSubpath();
    p.setBrush(kOutline);
    p.drawPath(valve);
    p.drawRect(QRectF(valveX - 0.75, pipe.top() - 7, 1.5, 7));
    p.drawRoundedRect(QRectF(valveX - 4, pipe.top() - 8.5, 8, 2.2), 1, 1);
}

// A vertical tank's shallow cone roof with a vent.
void drawConeRoof(QPainter& p, const QRectF& body) {
    QPainterPath roof;
    roof.moveTo(body.left() - 1, body.top() + 0.5);
    roof.lineTo(body.center().x(), body.top() - 6);
    roof.lineTo(body.right() + 1, body.top() + 0.5);
    roof.closeSubpath();
    p.setBrush(kOutline);
    p.drawPath(roof);
    p.drawRect(QRectF(body.center().x() - 2, body.top() - 10, 4, 5));
    p.drawRect(QRectF(body.center().x() - 3.5, body.top() - 11, 7, 2));
    QPainterPath roofFace;
    roofFace.moveTo(body.left() + 1.5, body.top());
    roofFace.lineTo(body.center().x(), body.top() - 4.7);
    roofFace.lineTo(body.right() - 1.5, body.top());
    roofFace.closeSubpath();
    p.setBrush(horizontalShading(body, kSteelLight, kSteelDark));
    p.drawPath(roofFace);
}

}  // namespace

void drawFlatEnded(QPainter& p, int percent) {
    const QRectF body(8, 24, 104, 44);
    const TankShell tank = rectangularShell(body);
    drawShellAndProduct(p, tank, verticalShading(body, kSteelLight, kSteelDark), percent);

    // The flat end plates, their rims standing out a little from the shell.
    for (const double x : {body.left() - 1, body.right() - 3}) {
        const QRectF rim(x, body.top() - 1.5, 4, body.height() + 3);
        p.setBrush(kOutline);
        p.drawRect(rim);
        p.setBrush(verticalShading(rim, kSteelLight, kSteelDark));
        p.drawRect(rim.adjusted(1, 1, -1, -1));
    }

    drawGaugeProbe(p, 80, body.top(), tank.interior, percent, kSteelLight, kSteelDark);
}

void drawCylindrical(QPainter& p, int percent) {
    const QRectF body(5, 24, 110, 44);
    TankShell tank;
    tank.shape = [body](double inset) {
        QPainterPath path;
        const QRectF r = body.adjusted(inset, inset, -inset, -inset);
        const double radius = r.height() / 2;
        path.addRoundedRect(r, radius, radius);
        return path;
    };
    tank.interior = body.adjusted(3, 3, -3, -3);

    // Ribs stand out from the shell above and below.
    for (const double x : {31.0, 45.0, 75.0, 89.0}) {
        const QRectF rib(x - 2.5, body.top() - 2, 5, body.height() + 4);
        p.setPen(Qt::NoPen);
        p.setBrush(kOutline);
        p.drawRoundedRect(rib, 1.5, 1.5);
        QLinearGradient shade(rib.topLeft(), rib.topRight());
        shade.setColorAt(0, kFibreDark);
        shade.setColorAt(0.4, kFibreLight);
        shade.setColorAt(1, kFibreDark);
        p.setBrush(shade);
        p.drawRoundedRect(rib.adjusted(1, 1, -1, -1), 1, 1);
    }

    drawShellAndProduct(p, tank, verticalShading(body, kFibreLight, kFibreDark), percent);

    // The ribs' traces across the side of the tank.
    p.setBrush(QColor(kFibreDark.red(), kFibreDark.green(), kFibreDark.blue(), 70));
    p.setClipPath(tank.shape(tank.shellWidth));
    for (const double x : {31.0, 45.0, 75.0, 89.0})
        p.drawRect(QRectF(x - 1.5, body.top(), 3, body.height()));
    p.setClipping(false);

    drawGaugeProbe(p, 60, body.top(), tank.interior, percent, kFibreLight, kFibreDark);
}

void drawVertical(QPainter& p, int percent) {
    const QRectF body(26, 14, 42, 52);
    const TankShell tank = rectangularShell(body);
    p.setPen(Qt::NoPen);

    drawFootPipe(p, body);

    // Footing.
    const QRectF footing(18, 66, 60, 5);
    p.setBrush(kOutline);
    p.drawRect(footing);
    p.setBrush(verticalShading(footing, kConcrete.lighter(115), kConcrete));
    p.drawRect(footing.adjusted(1, 1, -1, -1));

    drawConeRoof(p, body);

    drawShellAndProduct(p, tank, horizontalShading(body, kSteelLight, kSteelDark), percent);

    // Seams of the shell courses.
    p.setBrush(QColor(kOutline.red(), kOutline.green(), kOutline.blue(), 150));
    for (const double y : {31.0, 48.0}) {
        p.drawRect(QRectF(body.left(), y, 3, 0.8));
        p.drawRect(QRectF(body.right() - 3, y, 3, 0.8));
    }
}

}  // namespace brimwell::pictures
