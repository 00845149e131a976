#include "pictures/icons.h"

#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRectF>
#include <QTextStream>

#include <cstdio>
#include <initializer_list>

#include "pictures/palette.h"

namespace brimwell::pictures {
namespace {

// The side of the square the icons are drawn on.
constexpr int kIconSize = 256;

QPainterPath roundedRect(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

QPainterPath rect(const QRectF& r) {
    QPainterPath path;
    path.addRect(r);
    return path;
}

QPainterPath polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

QGradientStops shadingStops(const QColor& light, const QColor& dark) {
    return {{0.0, dark}, {0.35, light}, {1.0, dark}};
}

QImage renderIcon(const std::vector<IconShape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(double(size) / kIconSize, double(size) / kIconSize);
    for (const IconShape& shape : shapes) {
        if (shape.stops.isEmpty()) {
            p.fillPath(shape.path, shape.colour);
        } else {
            QLinearGradient gradient(shape.from, shape.to);
            gradient.setStops(shape.stops);
            p.fillPath(shape.path, gradient);
        }
    }
    p.end();
    return image;
}

QString svgPathData(const QPainterPath& path) {
    QString d;
    const auto number = [](double v) { return QString::number(v, 'g', 6); };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            d += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
        } else if (e.isLineTo()) {
            d += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(end.x),
                          number(end.y));
            i += 2;
        }
    }
    return d;
}

QString svgIcon(const std::vector<IconShape>& shapes) {
    QString defs;
    QString body;
    int gradients = 0;
    for (const IconShape& shape : shapes) {
        QString fill = shape.colour.name();
        if (!shape.stops.isEmpty()) {
            const QString id = QStringLiteral("shade%1").arg(++gradients);
            defs += QStringLiteral(
                        "    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" "
                        "x1=\"%2\" y1=\"%3\" x2=\"%4\" y2=\"%5\">\n")
                        .arg(id)
                        .arg(shape.from.x())
                        .arg(shape.from.y())
                        .arg(shape.to.x())
                        .arg(shape.to.y());
            for (const auto& [offset, colour] : shape.stops) {
                defs += QStringLiteral("      <stop offset=\"%1\" stop-color=\"%2\"/>\n")
                            .arg(offset)
                            .arg(colour.name());
            }
            defs += QStringLiteral("    </linearGradient>\n");
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        body +=
            QStringLiteral("  <path fill=\"%1\" d=\"%2\"/>\n").arg(fill, svgPathData(shape.path));
    }
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
               "viewBox=\"0 0 %1 %1\">\n  <defs>\n%2  </defs>\n%3</svg>\n")
        .arg(kIconSize)
        .arg(defs, body);
}

}  // namespace

std::vector<IconShape> iconShapes() {
    std::vector<IconShape> shapes;
    const auto solid = [&shapes](const QPainterPath& path, const QColor& colour) {
        shapes.push_back({path, colour, {}, {}, {}});
    };
    const auto shaded = [&shapes](const QPainterPath& path, const QColor& light,
                                  const QColor& dark) {
        const QRectF r = path.boundingRect();
        shapes.push_back({path, {}, shadingStops(light, dark), r.topLeft(), r.topRight()});
    };

    // Concrete footing.
    const QRectF footing(24, 220, 208, 26);
    solid(roundedRect(footing, 5), kOutline);
    shaded(roundedRect(footing.adjusted(6, 6, -6, -6), 2), kConcrete.lighter(115), kConcrete);

    // Vent and cone roof.
    solid(roundedRect(QRectF(114, 6, 28, 12), 3), kOutline);
    solid(rect(QRectF(120, 14, 16, 12)), kOutline);
    solid(polygon({{30, 70}, {128, 18}, {226, 70}}), kOutline);
    shaded(polygon({{50, 62}, {128, 27}, {206, 62}}), kSteelLight, kSteelDark);

    // Steel shell, cut open to show the product inside.
    const QRectF body(40, 58, 176, 170);
    solid(roundedRect(body, 8), kOutline);
    shaded(roundedRect(body.adjusted(7, 7, -7, -7), 4), kSteelLight, kSteelDark);
    const QRectF inside = body.adjusted(22, 22, -22, -14);
    solid(rect(inside.adjusted(-5, -5, 5, 5)), kOutline);
    solid(rect(inside), kEmpty);
    const double surface = inside.bottom() - inside.height() * 2 / 3;
    solid(rect(QRectF(inside.left(), surface, inside.width(), inside.bottom() - surface)),
          kProduct);
    solid(rect(QRectF(inside.left(), surface, inside.width(), 7)), kProductSurface);

    // Level marks down the inside of the shell, as on a tank chart.
    for (int mark = 1; mark < 6; ++mark) {
        const double y = inside.top() + inside.height() * mark / 6.0;
        const double length = mark % 2 == 0 ? 26 : 14;
        solid(rect(QRectF(inside.left(), y - 2.5, length, 5)), kOutline);
    }
    return shapes;
}

std::vector<IconShape> bookIconShapes() {
    std::vector<IconShape> shapes;
    const auto solid = [&shapes](const QPainterPath& path, const QColor& colour) {
        shapes.push_back({path, colour, {}, {}, {}});
    };
    const QColor cover(38, 92, 70);
    const QColor coverLight(62, 128, 98);
    // Pages seen at the fore-edge, then the cover and its spine.
    solid(roundedRect(QRectF(52, 30, 180, 206), 8), kOutline);
    solid(rect(QRectF(200, 40, 24, 186)), kEmpty);
    for (int line = 0; line < 9; ++line) {
        solid(rect(QRectF(200, 52 + line * 20, 24, 3)), kSteelDark);
    }
    solid(roundedRect(QRectF(24, 20, 184, 216), 10), kOutline);
    shapes.push_back({roundedRect(QRectF(30, 26, 172, 204), 7),
                      {},
                      shadingStops(coverLight, cover),
                      {30, 26},
                      {202, 26}});
    solid(rect(QRectF(30, 26, 22, 204)), kOutline);
    // The label: a tank on its worksheet lines.
    const QRectF label(74, 52, 110, 150);
    solid(roundedRect(label.adjusted(-5, -5, 5, 5), 6), kOutline);
    solid(roundedRect(label, 3), kEmpty);
    const QRectF tank(92, 64, 74, 70);
    solid(roundedRect(tank.adjusted(-5, -5, 5, 5), 8), kOutline);
    solid(rect(tank), kEmpty);
    const double surface = tank.bottom() - tank.height() * 2 / 3;
    solid(rect(QRectF(tank.left(), surface, tank.width(), tank.bottom() - surface)), kProduct);
    solid(rect(QRectF(tank.left(), surface, tank.width(), 5)), kProductSurface);
    for (int line = 0; line < 4; ++line) {
        solid(rect(QRectF(86, 152 + line * 12, 86, 4)), kSteelDark);
    }
    return shapes;
}

bool writeIcon(const QDir& out, const QString& name, const std::vector<IconShape>& shapes) {
    QFile svg(out.filePath(name + ".svg"));
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(svg.fileName()));
        return false;
    }
    QTextStream(&svg) << svgIcon(shapes);
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = out.filePath(QStringLiteral("%1-%2.png").arg(name).arg(size));
        if (!renderIcon(shapes, size).save(file)) {
            std::fprintf(stderr, "Cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    return true;
}

}  // namespace brimwell::pictures
