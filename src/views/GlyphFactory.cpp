// SPDX-License-Identifier: MIT
#include "views/GlyphFactory.h"

#include <functional>

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace corvida {

namespace {

// The glyphs' palette: dark ink for outlines, white paper, and a few strong fills.
constexpr QRgb kInk = 0xff2b3a4a;
constexpr QRgb kPaper = 0xffffffff;
constexpr QRgb kBlue = 0xff2f6fb5;
constexpr QRgb kLightBlue = 0xff8cc4ec;
constexpr QRgb kGreen = 0xff21944a;
constexpr QRgb kDarkGreen = 0xff17693a;
constexpr QRgb kRed = 0xffd0312d;
constexpr QRgb kAmber = 0xffe8a317;
constexpr QRgb kLightAmber = 0xfff6cf6b;
constexpr QRgb kOrange = 0xffd9731a;

// Glyphs are drawn on a grid of kGrid units; half units put one-unit lines on whole pixels.
constexpr qreal kGrid = 16.0;
constexpr qreal kLine = 1.0;

using Painter = std::function<void(QPainter&)>;

QColor color(QRgb rgb) {
    return QColor::fromRgba(rgb);
}

QPen pen(QRgb rgb, qreal width = kLine) {
    return QPen(color(rgb), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Draws draw on a transparent pixmap of side logical pixels at device pixel ratio ratio.
QPixmap render(int side, qreal ratio, const Painter& draw) {
    const int pixels = qRound(side * ratio);
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(pixels / kGrid, pixels / kGrid);
    draw(painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

void outlined(QPainter& p, const QPainterPath& path, QRgb fill, QRgb outline = kInk) {
    p.setPen(pen(outline));
    p.setBrush(color(fill));
    p.drawPath(path);
}

QPainterPath polygonPath(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// Text in a bold face, centred on centre, with a white rim so it reads over any shape.
void label(QPainter& p, const QString& text, QPointF centre, qreal height) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    const qreal scale = height / box.height();
    QTransform transform;
    transform.translate(centre.x(), centre.y());
    transform.scale(scale, scale);
    transform.translate(-box.center().x(), -box.center().y());
    path = transform.map(path);
    p.setPen(QPen(color(kPaper), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(color(kInk));
    p.drawPath(path);
}

// A sheet of paper with a folded corner, left part of the glyph.
void page(QPainter& p) {
    outlined(p, polygonPath({{2.5, 0.5}, {8.5, 0.5}, {11.5, 3.5}, {11.5, 13.5}, {2.5, 13.5}}), kPaper);
    p.setPen(pen(kInk));
    p.drawPolyline(QPolygonF({{8.5, 0.5}, {8.5, 3.5}, {11.5, 3.5}}));
}

// A page with a small bar chart: the report.
void report(QPainter& p) {
    page(p);
    p.setPen(Qt::NoPen);
    p.setBrush(color(kBlue));
    p.drawRect(QRectF(4, 8, 2, 4));
    p.setBrush(color(kGreen));
    p.drawRect(QRectF(6.5, 5, 2, 7));
    p.setBrush(color(kRed));
    p.drawRect(QRectF(9, 9.5, 1.5, 2.5));
}

// A house: the local copy of the site.
void house(QPainter& p) {
    outlined(p, polygonPath({{2.5, 6.5}, {2.5, 13.5}, {11.5, 13.5}, {11.5, 6.5}}), kLightAmber);
    p.setBrush(color(kBlue));
    p.drawRect(QRectF(5.5, 9.5, 3, 4));
    outlined(p, polygonPath({{0.5, 7.5}, {7, 1}, {13.5, 7.5}}), kRed);
}

// Badges sit in the lower right corner, over a white rim.
void sparkle(QPainter& p) {
    const QPointF c(12, 12);
    QPainterPath star = polygonPath({{c.x(), c.y() - 4},
                                     {c.x() + 1.2, c.y() - 1.2},
                                     {c.x() + 4, c.y()},
                                     {c.x() + 1.2, c.y() + 1.2},
                                     {c.x(), c.y() + 4},
                                     {c.x() - 1.2, c.y() + 1.2},
                                     {c.x() - 4, c.y()},
                                     {c.x() - 1.2, c.y() - 1.2}});
    p.setPen(QPen(color(kPaper), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(star);
    outlined(p, star, kAmber, kOrange);
}

void eye(QPainter& p) {
    QPainterPath shape;
    shape.moveTo(7.5, 12);
    shape.quadTo(11.75, 7, 16, 12);
    shape.quadTo(11.75, 17, 7.5, 12);
    p.setPen(QPen(color(kPaper), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);
    outlined(p, shape, kPaper);
    p.setPen(Qt::NoPen);
    p.setBrush(color(kBlue));
    p.drawEllipse(QPointF(11.75, 12), 1.8, 1.8);
}

void plus(QPainter& p, QPointF c, qreal arm, QRgb rgb) {
    p.setPen(QPen(color(kPaper), 4.0, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
    p.setPen(QPen(color(rgb), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
}

void funnel(QPainter& p) {
    outlined(p, polygonPath({{0.5, 1.5}, {12.5, 1.5}, {8, 7}, {8, 13}, {5, 14.5}, {5, 7}}), kLightBlue, kBlue);
}

void filter(QPainter& p, const QString& text) {
    funnel(p);
    label(p, text, QPointF(12.5, 11.5), 8);
}

void filterSelection(QPainter& p) {
    funnel(p);
    outlined(p, polygonPath({{8.5, 7.5}, {15.5, 7.5}, {15.5, 15.5}, {8.5, 15.5}}), kPaper);
    p.setPen(Qt::NoPen);
    p.setBrush(color(kInk));
    p.drawEllipse(QPointF(10.5, 10), 1, 1);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(kInk, 0.8));
    p.drawEllipse(QPointF(10.5, 13), 1, 1);
    p.setPen(pen(kInk));
    p.drawLine(QPointF(12.5, 10), QPointF(14, 10));
    p.drawLine(QPointF(12.5, 13), QPointF(14, 13));
}

// An arrow from from to to with a filled head.
void arrow(QPainter& p, QPointF from, QPointF to, QRgb rgb) {
    const QLineF line(from, to);
    const QLineF unit = line.unitVector();
    const QPointF along = unit.p2() - unit.p1();
    const QPointF across(-along.y(), along.x());
    const QPointF base = to - along * 3.0;
    p.setPen(pen(rgb, 1.5));
    p.drawLine(from, base);
    p.setPen(Qt::NoPen);
    p.setBrush(color(rgb));
    p.drawPolygon(QPolygonF({to, base + across * 2.0, base - across * 2.0}));
}

void node(QPainter& p, QPointF c) {
    p.setPen(pen(kInk));
    p.setBrush(color(kBlue));
    p.drawEllipse(c, 2.8, 2.8);
}

void inLinks(QPainter& p) {
    arrow(p, {0.5, 1.5}, {9, 6.5}, kRed);
    arrow(p, {0.5, 8}, {8.5, 8}, kRed);
    arrow(p, {0.5, 14.5}, {9, 9.5}, kRed);
    node(p, {12.5, 8});
}

void outLinks(QPainter& p) {
    node(p, {3.5, 8});
    arrow(p, {6, 6.5}, {15.5, 1.5}, kGreen);
    arrow(p, {7, 8}, {15.5, 8}, kGreen);
    arrow(p, {6, 9.5}, {15.5, 14.5}, kGreen);
}

void centerOnNode(QPainter& p) {
    p.setPen(pen(kBlue, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8, 8), 5, 5);
    p.setPen(QPen(color(kBlue), 2.0, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(8, 0), QPointF(8, 4));
    p.drawLine(QPointF(8, 12), QPointF(8, 16));
    p.drawLine(QPointF(0, 8), QPointF(4, 8));
    p.drawLine(QPointF(12, 8), QPointF(16, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(color(kRed));
    p.drawEllipse(QPointF(8, 8), 2.2, 2.2);
}

void magnifier(QPainter& p, bool in) {
    p.setPen(QPen(color(kInk), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10.5, 10.5), QPointF(14.5, 14.5));
    p.setPen(pen(kInk, 1.5));
    p.setBrush(color(kPaper));
    p.drawEllipse(QPointF(6.5, 6.5), 5, 5);
    p.setPen(QPen(color(kBlue), 1.8, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
    if (in) {
        p.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
    }
}

void resume(QPainter& p) {
    outlined(p, polygonPath({{3.5, 1.5}, {14, 8}, {3.5, 14.5}}), kGreen, kDarkGreen);
}

void suspend(QPainter& p) {
    outlined(p, polygonPath({{2.5, 2.5}, {6.5, 2.5}, {6.5, 13.5}, {2.5, 13.5}}), kAmber, kOrange);
    outlined(p, polygonPath({{9.5, 2.5}, {13.5, 2.5}, {13.5, 13.5}, {9.5, 13.5}}), kAmber, kOrange);
}

void newProject(QPainter& p) {
    page(p);
    plus(p, {12, 11.5}, 3, kGreen);
}

void openSiteMap(QPainter& p) {
    outlined(p, polygonPath({{0.5, 2.5}, {5.5, 2.5}, {7, 4.5}, {13.5, 4.5}, {13.5, 13.5}, {0.5, 13.5}}), kAmber,
             kOrange);
    outlined(p, polygonPath({{0.5, 13.5}, {3.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}}), kLightAmber, kOrange);
}

void save(QPainter& p) {
    QPainterPath body;
    body.addRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    outlined(p, body, kBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(color(kPaper));
    p.drawRect(QRectF(4, 2, 8, 5));
    p.setBrush(color(kInk));
    p.drawRect(QRectF(4.5, 10, 7, 4.5));
    p.setBrush(color(kLightBlue));
    p.drawRect(QRectF(8.5, 11, 1.5, 2.5));
}

void helpTopics(QPainter& p) {
    outlined(
        p,
        [] {
            QPainterPath circle;
            circle.addEllipse(QPointF(8, 8), 7, 7);
            return circle;
        }(),
        kBlue);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(100);
    QPainterPath mark;
    mark.addText(0, 0, font, QStringLiteral("?"));
    const QRectF box = mark.boundingRect();
    const qreal scale = 9.5 / box.height();
    QTransform transform;
    transform.translate(8, 8);
    transform.scale(scale, scale);
    transform.translate(-box.center().x(), -box.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(color(kPaper));
    p.drawPath(transform.map(mark));
}

void startFromBrowser(QPainter& p) {
    outlined(p, polygonPath({{0.5, 1.5}, {15.5, 1.5}, {15.5, 14.5}, {0.5, 14.5}}), kPaper);
    p.setPen(Qt::NoPen);
    p.setBrush(color(kBlue));
    p.drawRect(QRectF(1, 2, 14, 3));
    outlined(p, polygonPath({{5.5, 7}, {11.5, 10}, {5.5, 13}}), kGreen, kDarkGreen);
}

// Rings around a centre, each with dots on it: the crawl's levels spreading out.
void wavefront(QPainter& p) {
    const QPointF c(8, 8);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(kLightBlue, 1.0));
    p.drawEllipse(c, 6.2, 6.2);
    p.setPen(pen(kBlue, 1.0));
    p.drawEllipse(c, 3.8, 3.8);
    p.setPen(Qt::NoPen);
    p.setBrush(color(kInk));
    p.drawEllipse(c, 1.8, 1.8);
    struct Dot {
        qreal radius, degrees;
        QRgb fill;
    };
    for (const Dot& dot : {Dot{3.8, 30, kGreen}, Dot{3.8, 200, kGreen}, Dot{6.2, 90, kRed}, Dot{6.2, 150, kAmber},
                           Dot{6.2, 280, kAmber}, Dot{6.2, 340, kRed}}) {
        const QPointF at = c + QLineF::fromPolar(dot.radius, dot.degrees).p2();
        p.setPen(pen(kPaper, 0.5));
        p.setBrush(color(dot.fill));
        p.drawEllipse(at, 1.4, 1.4);
    }
}

Painter painterOf(Command command) {
    switch (command) {
    case Command::NewProject:
        return newProject;
    case Command::OpenSiteMap:
        return openSiteMap;
    case Command::Save:
        return save;
    case Command::HelpTopics:
        return helpTopics;
    case Command::FilterAll:
        return [](QPainter& p) { filter(p, QStringLiteral("A")); };
    case Command::Filter1:
        return [](QPainter& p) { filter(p, QStringLiteral("1")); };
    case Command::Filter2:
        return [](QPainter& p) { filter(p, QStringLiteral("2")); };
    case Command::Filter3:
        return [](QPainter& p) { filter(p, QStringLiteral("3")); };
    case Command::Filter4:
        return [](QPainter& p) { filter(p, QStringLiteral("4")); };
    case Command::FilterSelection:
        return filterSelection;
    case Command::InLinks:
        return inLinks;
    case Command::OutLinks:
        return outLinks;
    case Command::CenterOnNode:
        return centerOnNode;
    case Command::ZoomIn:
        return [](QPainter& p) { magnifier(p, true); };
    case Command::ZoomOut:
        return [](QPainter& p) { magnifier(p, false); };
    case Command::Resume:
        return resume;
    case Command::Suspend:
        return suspend;
    case Command::MakeReport:
        return [](QPainter& p) {
            report(p);
            sparkle(p);
        };
    case Command::ViewReport:
        return [](QPainter& p) {
            report(p);
            eye(p);
        };
    case Command::MakeLocalSite:
        return [](QPainter& p) {
            house(p);
            sparkle(p);
        };
    case Command::ViewLocalSite:
        return [](QPainter& p) {
            house(p);
            eye(p);
        };
    case Command::StartFromBrowser:
        return startFromBrowser;
    default:
        return {};
    }
}

// A small page at the top left of the glyph, for the link tree's pictures.
void smallPage(QPainter& p) {
    outlined(p, polygonPath({{1.5, 0.5}, {6.5, 0.5}, {8.5, 2.5}, {8.5, 9.5}, {1.5, 9.5}}), kPaper);
    p.setPen(pen(kInk));
    p.drawPolyline(QPolygonF({{6.5, 0.5}, {6.5, 2.5}, {8.5, 2.5}}));
}

// A page with the nodes it links to directly: three dots on short links.
void pageWithTargets(QPainter& p) {
    smallPage(p);
    p.setPen(pen(kBlue));
    for (const qreal y : {3.0, 8.0, 13.0}) {
        p.drawLine(QPointF(8.5, 6.0), QPointF(12.5, y));
    }
    p.setPen(pen(kInk));
    p.setBrush(color(kLightBlue));
    for (const qreal y : {3.0, 8.0, 13.0}) {
        p.drawEllipse(QPointF(13.0, y), 2.0, 2.0);
    }
}

// A page with everything below it: a tree of pages, two levels deep.
void pageWithSubtree(QPainter& p) {
    smallPage(p);
    p.setPen(pen(kGreen));
    p.drawPolyline(QPolygonF({{4.5, 9.5}, {4.5, 12.5}, {7.5, 12.5}}));
    p.drawPolyline(QPolygonF({{10.5, 9.5}, {10.5, 12.5}}));
    p.drawLine(QPointF(8.5, 6.5), QPointF(10.5, 6.5));
    outlined(p, polygonPath({{9.5, 4.5}, {14.5, 4.5}, {14.5, 9.5}, {9.5, 9.5}}), kLightAmber);
    outlined(p, polygonPath({{7.5, 10.5}, {12.5, 10.5}, {12.5, 15.5}, {7.5, 15.5}}), kLightAmber);
}

} // namespace

QIcon GlyphFactory::linkTreeIcon(bool subtree) {
    const Painter draw = subtree ? Painter(pageWithSubtree) : Painter(pageWithTargets);
    QIcon icon;
    icon.addPixmap(render(kGlyphSize, 1.0, draw));
    icon.addPixmap(render(kGlyphSize, 2.0, draw));
    return icon;
}

QIcon GlyphFactory::icon(Command command) {
    const Painter draw = painterOf(command);
    if (!draw) {
        return {};
    }
    QIcon icon;
    icon.addPixmap(render(kGlyphSize, 1.0, draw));
    icon.addPixmap(render(kGlyphSize, 2.0, draw));
    return icon;
}

QIcon GlyphFactory::applicationIcon() {
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(render(side, 1.0, wavefront));
    }
    return icon;
}

} // namespace corvida
