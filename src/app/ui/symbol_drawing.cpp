// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/symbol_drawing.h"

#include <array>
#include <cmath>
#include <numbers>

#include <QFont>
#include <QPainter>
#include <QPainterPath>

// The drawings share one hand: a 24-unit grid, lines of 1.8 units with round ends, shapes kept inside
// 2..22 so that nothing touches the edge, and filled variants that cut their marks out of the fill.
namespace tarvelo::ui {
namespace {

using Painter = QPainter;

QColor ink(const Painter& p) { return p.pen().color(); }

QPainterPath circle(double x, double y, double radius) {
    QPainterPath path;
    path.addEllipse(QPointF(x, y), radius, radius);
    return path;
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
    QPainterPath path;
    bool first = true;
    for (const QPointF& point : points) {
        if (first) {
            path.moveTo(point);
            first = false;
        } else {
            path.lineTo(point);
        }
    }
    return path;
}

void line(Painter& p, double x1, double y1, double x2, double y2) { p.drawLine(QPointF(x1, y1), QPointF(x2, y2)); }

void fill(Painter& p, const QPainterPath& path) { p.fillPath(path, ink(p)); }

void dot(Painter& p, double x, double y, double radius) { fill(p, circle(x, y, radius)); }

// Clears `path` (filled) from what has been drawn so far.
void cutOut(Painter& p, const QPainterPath& path) {
    const QPainter::CompositionMode mode = p.compositionMode();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillPath(path, Qt::black);
    p.setCompositionMode(mode);
}

// Clears a line of `width` along `path`.
void cutOutStroke(Painter& p, const QPainterPath& path, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    cutOut(p, stroker.createStroke(path));
}

// A line drawn with another width, the pen otherwise unchanged.
void lineWidth(Painter& p, double width) {
    QPen pen = p.pen();
    pen.setWidthF(width);
    p.setPen(pen);
}

QPainterPath shield() {
    QPainterPath path;
    path.moveTo(12, 2.6);
    path.lineTo(19.6, 5.5);
    path.lineTo(19.6, 11);
    path.cubicTo(19.6, 15.8, 16.4, 19.5, 12, 21.4);
    path.cubicTo(7.6, 19.5, 4.4, 15.8, 4.4, 11);
    path.lineTo(4.4, 5.5);
    path.closeSubpath();
    return path;
}

QPainterPath check(double x1, double y1, double x2, double y2, double x3, double y3) {
    return polyline({{x1, y1}, {x2, y2}, {x3, y3}});
}

// An arrow of `shaft` ending at its second point, with a head of `head` units to each side.
void arrow(Painter& p, QPointF from, QPointF to, double head) {
    p.drawLine(from, to);
    const QPointF direction = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF back = to - direction * head;
    const QPointF side(-direction.y() * head, direction.x() * head);
    p.drawPath(polyline({back + side, to, back - side}));
}

// Three lines of text, the last one short, leaving the lower right corner for a badge.
void textLines(Painter& p) {
    line(p, 3, 5, 21, 5);
    line(p, 3, 10.5, 21, 10.5);
    line(p, 3, 16, 11, 16);
}

void drawCharacterCursorIbeam(Painter& p) {
    p.drawPath(polyline({{2.8, 19.2}, {8.2, 5.4}, {13.6, 19.2}}));
    line(p, 4.8, 14.2, 11.6, 14.2);
    // The text cursor: a thin bar with curled ends, taller than the letter.
    lineWidth(p, 1.5);
    QPainterPath beam;
    beam.moveTo(16.8, 2.6);
    beam.quadTo(19.2, 2.6, 19.2, 5);
    beam.lineTo(19.2, 19);
    beam.quadTo(19.2, 21.4, 16.8, 21.4);
    beam.moveTo(21.6, 2.6);
    beam.quadTo(19.2, 2.6, 19.2, 5);
    beam.moveTo(21.6, 21.4);
    beam.quadTo(19.2, 21.4, 19.2, 19);
    p.drawPath(beam);
}

void drawPauseCircle(Painter& p) {
    p.drawPath(circle(12, 12, 9.2));
    line(p, 9.8, 8.6, 9.8, 15.4);
    line(p, 14.2, 8.6, 14.2, 15.4);
}

void drawPowerCircle(Painter& p) {
    p.drawPath(circle(12, 12, 9.2));
    QPainterPath arc;
    const QRectF ring(7.3, 7.9, 9.4, 9.4);
    arc.arcMoveTo(ring, 58);
    arc.arcTo(ring, 58, -296);
    p.drawPath(arc);
    line(p, 12, 6.6, 12, 12);
}

void drawExclamationmarkShield(Painter& p) {
    p.drawPath(shield());
    line(p, 12, 7.6, 12, 12.6);
    dot(p, 12, 16, 1.15);
}

void drawExclamationmarkShieldFill(Painter& p) {
    fill(p, shield());
    cutOutStroke(p, polyline({{12, 7.4}, {12, 12.6}}), 2.2);
    cutOut(p, circle(12, 16.1, 1.35));
}

void drawExclamationmarkTriangle(Painter& p) {
    QPainterPath triangle = polyline({{12, 3.4}, {21.5, 19.8}, {2.5, 19.8}});
    triangle.closeSubpath();
    p.drawPath(triangle);
    line(p, 12, 9.2, 12, 13.6);
    dot(p, 12, 16.7, 1.1);
}

void drawGearshape(Painter& p) {
    constexpr int kTeeth = 8;
    constexpr double kOuter = 10.0;
    constexpr double kInner = 7.6;
    QPainterPath gear;
    const auto at = [](double radius, double degrees) {
        const double radians = degrees * std::numbers::pi / 180.0;
        return QPointF(12 + radius * std::cos(radians), 12 + radius * std::sin(radians));
    };
    for (int tooth = 0; tooth < kTeeth; ++tooth) {
        const double centre = tooth * 360.0 / kTeeth;
        const QPointF start = at(kInner, centre - 13);
        if (tooth == 0) {
            gear.moveTo(start);
        } else {
            gear.lineTo(start);
        }
        gear.lineTo(at(kOuter, centre - 7.5));
        gear.lineTo(at(kOuter, centre + 7.5));
        gear.lineTo(at(kInner, centre + 13));
        // The valley to the next tooth follows the inner circle.
        for (double angle = centre + 17; angle < centre + 45 - 13; angle += 4) gear.lineTo(at(kInner, angle));
    }
    gear.closeSubpath();
    p.drawPath(gear);
    p.drawPath(circle(12, 12, 3.2));
}

void drawArrowLeftArrowRight(Painter& p) {
    arrow(p, {20, 7.5}, {4, 7.5}, 4);
    arrow(p, {4, 16.5}, {20, 16.5}, 4);
}

// The Hotkeys section's symbol: a keyboard, which is what the desktop calls its shortcuts' home; the
// Mac's Command sign means nothing on a PC keyboard.
void drawKeyboard(Painter& p) {
    QPainterPath body;
    body.addRoundedRect(QRectF(3, 6.5, 18, 11), 2, 2);
    p.drawPath(body);
    for (const double x : {7.0, 10.3, 13.7, 17.0}) dot(p, x, 10, 1.05);
    for (const double x : {7.0, 17.0}) dot(p, x, 13.8, 1.05);
    line(p, 10, 13.8, 14, 13.8);
}

void drawCharacterBookClosed(Painter& p) {
    QPainterPath cover;
    cover.addRoundedRect(QRectF(4.6, 2.8, 15, 18.4), 2.4, 2.4);
    p.drawPath(cover);
    line(p, 8.3, 2.8, 8.3, 21.2);
    lineWidth(p, 1.5);
    p.drawPath(polyline({{11.3, 15.6}, {14, 7.8}, {16.7, 15.6}}));
    line(p, 12.3, 12.8, 15.7, 12.8);
}

void drawTextBadgeXmark(Painter& p) {
    textLines(p);
    line(p, 14.8, 14.4, 20.6, 20.2);
    line(p, 20.6, 14.4, 14.8, 20.2);
}

void drawTextBadgePlus(Painter& p) {
    textLines(p);
    line(p, 17.7, 13.6, 17.7, 21);
    line(p, 14, 17.3, 21.4, 17.3);
}

void drawAppBadgeCheckmark(Painter& p) {
    QPainterPath app;
    app.addRoundedRect(QRectF(3, 7.6, 13.4, 13.4), 3.6, 3.6);
    p.drawPath(app);
    cutOut(p, circle(17.6, 6.4, 6.2));
    fill(p, circle(17.6, 6.4, 4.6));
    cutOutStroke(p, check(15.5, 6.5, 17, 8, 19.8, 4.9), 1.5);
}

void drawHandRaised(Painter& p) {
    QPainterPath hand;
    // One finger: up its left side, over a round tip, down its right side to the knuckle.
    const auto finger = [&hand](double left, double tip, double knuckle) {
        const QRectF top(left, tip, 3.2, 3.2);
        hand.lineTo(left, tip + 1.6);
        hand.arcTo(top, 180, -180);
        hand.lineTo(left + 3.2, knuckle);
    };
    hand.moveTo(6.4, 14.2);
    finger(6.4, 4.6, 11.2);
    finger(9.6, 2.6, 10.4);
    finger(12.8, 3.4, 10.6);
    finger(16.0, 6.2, 14.0);
    hand.cubicTo(19.2, 18.4, 16.6, 21.4, 12.8, 21.4);
    hand.lineTo(11.8, 21.4);
    hand.cubicTo(9.8, 21.4, 8.6, 20.6, 7.4, 19.2);
    hand.lineTo(3.6, 14.6);
    hand.arcTo(QRectF(2.6, 10.6, 3.2, 3.2), 220, -180);
    hand.lineTo(6.4, 14.2);
    p.drawPath(hand);
}

void drawChartBarXaxis(Painter& p) {
    line(p, 3, 20.6, 21, 20.6);
    lineWidth(p, 2.8);
    line(p, 7, 16.6, 7, 11.8);
    line(p, 12, 16.6, 12, 5);
    line(p, 17, 16.6, 17, 8.6);
}

QPainterPath terminalWindow() {
    QPainterPath window;
    window.addRoundedRect(QRectF(2.5, 4, 19, 16), 3, 3);
    return window;
}

QPainterPath terminalPrompt() {
    QPainterPath prompt = polyline({{6.6, 8.8}, {9.8, 12}, {6.6, 15.2}});
    prompt.moveTo(12, 15.2);
    prompt.lineTo(17, 15.2);
    return prompt;
}

void drawTerminal(Painter& p) {
    p.drawPath(terminalWindow());
    p.drawPath(terminalPrompt());
}

void drawTerminalFill(Painter& p) {
    fill(p, terminalWindow());
    cutOutStroke(p, terminalPrompt(), SymbolDrawing::kLine);
}

void drawHammer(Painter& p) {
    p.save();
    p.translate(14.2, 9.4);
    p.rotate(45);
    // The head: a striking face on one side, a tapering claw on the other.
    QPainterPath head;
    head.moveTo(-2.2, -2.6);
    head.lineTo(5.4, -2.6);
    head.quadTo(6.8, -2.6, 6.8, -1.2);
    head.lineTo(6.8, 1.2);
    head.quadTo(6.8, 2.6, 5.4, 2.6);
    head.lineTo(-2.2, 2.6);
    head.lineTo(-7.6, 0.8);
    head.lineTo(-7.6, -0.6);
    head.closeSubpath();
    p.drawPath(head);
    lineWidth(p, 2.4);
    line(p, 0.6, 3.6, 0.6, 14.4);
    p.restore();
}

void drawChevronsAndSlash(Painter& p) {
    p.drawPath(polyline({{7, 7}, {2.6, 12}, {7, 17}}));
    p.drawPath(polyline({{17, 7}, {21.4, 12}, {17, 17}}));
    line(p, 14, 4.6, 10, 19.4);
}

void drawArrowUturnBackward(Painter& p) {
    p.drawPath(polyline({{8.4, 4.2}, {4, 8.6}, {8.4, 13}}));
    QPainterPath turn;
    turn.moveTo(4, 8.6);
    turn.lineTo(14.4, 8.6);
    turn.arcTo(QRectF(9.2, 8.6, 10.4, 10.4), 90, -180);
    turn.lineTo(9, 19);
    p.drawPath(turn);
}

void drawCheckmarkCircleFill(Painter& p) {
    fill(p, circle(12, 12, 9.8));
    cutOutStroke(p, check(7.6, 12.3, 10.6, 15.3, 16.4, 9.1), 2.1);
}

void drawCircle(Painter& p) { p.drawPath(circle(12, 12, 9.2)); }

void drawCheckmarkSealFill(Painter& p) {
    constexpr int kBumps = 12;
    constexpr int kSteps = 144;
    QPainterPath seal;
    for (int step = 0; step < kSteps; ++step) {
        const double angle = 2 * std::numbers::pi * step / kSteps;
        const double radius = 9.3 + 0.9 * std::cos(kBumps * angle);
        const QPointF point(12 + radius * std::cos(angle), 12 + radius * std::sin(angle));
        if (step == 0) {
            seal.moveTo(point);
        } else {
            seal.lineTo(point);
        }
    }
    seal.closeSubpath();
    fill(p, seal);
    cutOutStroke(p, check(7.9, 12.2, 10.7, 15, 16.1, 9.3), 2.1);
}

void drawArrowRight(Painter& p) { arrow(p, {4, 12}, {20, 12}, 6.2); }

void drawArrowLeft(Painter& p) { arrow(p, {20, 12}, {4, 12}, 6.2); }

void drawArrowUpRight(Painter& p) {
    line(p, 6, 18, 18, 6);
    p.drawPath(polyline({{8.6, 6}, {18, 6}, {18, 15.4}}));
}

void drawBooksVertical(Painter& p) {
    const auto book = [&p](double x, double width) {
        QPainterPath spine;
        spine.addRoundedRect(QRectF(x, 3.6, width, 17.4), 1.4, 1.4);
        p.drawPath(spine);
        line(p, x, 7.6, x + width, 7.6);
    };
    book(2.6, 4.4);
    book(8.4, 4.4);
    p.save();
    p.translate(14.2, 21);
    p.rotate(17);
    QPainterPath leaning;
    leaning.addRoundedRect(QRectF(0, -16.2, 4.2, 16.2), 1.4, 1.4);
    p.drawPath(leaning);
    line(p, 0, -12.2, 4.2, -12.2);
    p.restore();
}

void drawTextformatAbc(Painter& p) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(12);
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("abc"));
    const QRectF bounds = text.boundingRect();
    const double scale = 20.0 / bounds.width();
    QTransform fit;
    fit.translate(12, 12);
    fit.scale(scale, scale);
    fit.translate(-bounds.center().x(), -bounds.center().y());
    fill(p, fit.map(text));
}

// A four-pointed star with inward-curving sides.
QPainterPath sparkle(double x, double y, double radius) {
    const double pull = radius * 0.2;
    QPainterPath star;
    star.moveTo(x, y - radius);
    star.quadTo(x + pull, y - pull, x + radius, y);
    star.quadTo(x + pull, y + pull, x, y + radius);
    star.quadTo(x - pull, y + pull, x - radius, y);
    star.quadTo(x - pull, y - pull, x, y - radius);
    star.closeSubpath();
    return star;
}

void drawSparkles(Painter& p) {
    p.drawPath(sparkle(10, 13.4, 8));
    fill(p, sparkle(18.6, 5.4, 3.6));
}

void drawBrainHeadProfile(Painter& p) {
    QPainterPath head;
    head.moveTo(7.6, 21.4);
    head.lineTo(7.6, 17.4);
    head.cubicTo(5.2, 15.8, 3.6, 13.2, 3.6, 10.4);
    head.cubicTo(3.6, 5.8, 7.4, 2.6, 12, 2.6);
    head.cubicTo(16.4, 2.6, 19.4, 5.6, 19.5, 9.4);
    head.lineTo(21.2, 12.6);
    head.lineTo(19.5, 13.2);
    head.lineTo(19.5, 15.8);
    head.cubicTo(19.5, 17.1, 18.6, 17.8, 17.4, 17.8);
    head.lineTo(15.6, 17.8);
    head.lineTo(15.6, 21.4);
    p.drawPath(head);
    lineWidth(p, 1.4);
    QPainterPath brain;
    brain.moveTo(9.2, 12.6);
    brain.cubicTo(7.4, 12.6, 7.0, 10.2, 8.6, 9.6);
    brain.cubicTo(8.4, 7.4, 11.2, 6.6, 12, 8.0);
    brain.cubicTo(13.2, 6.4, 16.0, 7.4, 15.4, 9.4);
    brain.cubicTo(17.0, 10.2, 16.2, 12.8, 14.4, 12.6);
    brain.cubicTo(14.0, 13.8, 12.4, 14.0, 11.8, 13.0);
    brain.cubicTo(11.0, 13.8, 9.6, 13.6, 9.2, 12.6);
    brain.closeSubpath();
    p.drawPath(brain);
    line(p, 12, 8.0, 12, 10.4);
}

void drawLockShield(Painter& p) {
    p.drawPath(shield());
    QPainterPath body;
    body.addRoundedRect(QRectF(8.7, 10.8, 6.6, 5.4), 1.1, 1.1);
    fill(p, body);
    lineWidth(p, 1.5);
    QPainterPath shackle;
    shackle.moveTo(10.2, 10.9);
    shackle.lineTo(10.2, 9.4);
    shackle.arcTo(QRectF(10.2, 7.6, 3.6, 3.6), 180, -180);
    shackle.lineTo(13.8, 10.9);
    p.drawPath(shackle);
}

void drawNetworkSlash(Painter& p) {
    p.drawPath(circle(12, 12, 8.6));
    p.drawEllipse(QRectF(8, 3.4, 8, 17.2));
    line(p, 3.4, 12, 20.6, 12);
    const QPainterPath slash = polyline({{3.2, 3.2}, {20.8, 20.8}});
    cutOutStroke(p, slash, 5.2);
    p.drawPath(slash);
}

void drawTextLineFirstAndArrowtriangleForward(Painter& p) {
    QPainterPath triangle = polyline({{3.2, 3.8}, {8, 6.8}, {3.2, 9.8}});
    triangle.closeSubpath();
    p.setBrush(ink(p));
    p.drawPath(triangle);
    p.setBrush(Qt::NoBrush);
    line(p, 11.4, 6.8, 21, 6.8);
    line(p, 3, 12.4, 21, 12.4);
    line(p, 3, 18, 15, 18);
}

void drawGlobe(Painter& p) {
    p.drawPath(circle(12, 12, 9.2));
    p.drawEllipse(QRectF(7.8, 2.8, 8.4, 18.4));
    line(p, 2.8, 12, 21.2, 12);
    lineWidth(p, 1.3);
    line(p, 4.6, 7.2, 19.4, 7.2);
    line(p, 4.6, 16.8, 19.4, 16.8);
}

void drawMinusCircle(Painter& p) {
    p.drawPath(circle(12, 12, 9.2));
    line(p, 7.8, 12, 16.2, 12);
}

// Every symbol the application names, whatever screen shows it.
constexpr std::array kDrawings = {
    // The status of the whole system.
    SymbolDrawing{"character.cursor.ibeam", "insert-text-symbolic", drawCharacterCursorIbeam},
    SymbolDrawing{"pause.circle", "media-playback-pause-symbolic", drawPauseCircle},
    SymbolDrawing{"power.circle", "system-shutdown-symbolic", drawPowerCircle},
    SymbolDrawing{"exclamationmark.shield", "security-low-symbolic", drawExclamationmarkShield},
    SymbolDrawing{"exclamationmark.triangle", "dialog-warning-symbolic", drawExclamationmarkTriangle},
    // The settings sections.
    SymbolDrawing{"gearshape", "preferences-system-symbolic", drawGearshape},
    SymbolDrawing{"arrow.left.arrow.right", "", drawArrowLeftArrowRight},
    SymbolDrawing{"command", "input-keyboard-symbolic", drawKeyboard},
    SymbolDrawing{"character.book.closed", "accessories-character-map-symbolic", drawCharacterBookClosed},
    SymbolDrawing{"text.badge.xmark", "", drawTextBadgeXmark},
    SymbolDrawing{"app.badge.checkmark", "", drawAppBadgeCheckmark},
    SymbolDrawing{"hand.raised", "preferences-system-privacy-symbolic", drawHandRaised},
    SymbolDrawing{"chart.bar.xaxis", "", drawChartBarXaxis},
    // The known applications.
    SymbolDrawing{"terminal", "utilities-terminal-symbolic", drawTerminal},
    SymbolDrawing{"terminal.fill", "utilities-terminal-symbolic", drawTerminalFill},
    SymbolDrawing{"hammer", "applications-engineering-symbolic", drawHammer},
    SymbolDrawing{"chevron.left.forwardslash.chevron.right", "applications-development-symbolic",
                  drawChevronsAndSlash},
    // The menu, onboarding, the pages and About.
    SymbolDrawing{"arrow.uturn.backward", "edit-undo-symbolic", drawArrowUturnBackward},
    SymbolDrawing{"checkmark.circle.fill", "emblem-ok-symbolic", drawCheckmarkCircleFill},
    SymbolDrawing{"circle", "", drawCircle},
    SymbolDrawing{"checkmark.seal.fill", "emblem-default-symbolic", drawCheckmarkSealFill},
    SymbolDrawing{"exclamationmark.shield.fill", "security-low-symbolic", drawExclamationmarkShieldFill},
    SymbolDrawing{"arrow.right", "go-next-symbolic", drawArrowRight},
    SymbolDrawing{"arrow.left", "go-previous-symbolic", drawArrowLeft},
    SymbolDrawing{"arrow.up.right", "", drawArrowUpRight},
    SymbolDrawing{"books.vertical", "accessories-dictionary-symbolic", drawBooksVertical},
    SymbolDrawing{"textformat.abc", "tools-check-spelling-symbolic", drawTextformatAbc},
    SymbolDrawing{"apple.intelligence", "", drawSparkles},
    SymbolDrawing{"brain.head.profile", "", drawBrainHeadProfile},
    SymbolDrawing{"text.badge.plus", "", drawTextBadgePlus},
    SymbolDrawing{"minus.circle", "list-remove-symbolic", drawMinusCircle},
    SymbolDrawing{"lock.shield", "security-high-symbolic", drawLockShield},
    SymbolDrawing{"network.slash", "network-offline-symbolic", drawNetworkSlash},
    SymbolDrawing{"text.line.first.and.arrowtriangle.forward", "", drawTextLineFirstAndArrowtriangleForward},
    SymbolDrawing{"globe", "web-browser-symbolic", drawGlobe},
};

}  // namespace

const SymbolDrawing* findSymbolDrawing(std::string_view name) {
    for (const SymbolDrawing& drawing : kDrawings) {
        if (drawing.name == name) return &drawing;
    }
    return nullptr;
}

void drawUnknownSymbol(QPainter& p) {
    p.save();
    QPen dashed = p.pen();
    dashed.setWidthF(1.5);
    dashed.setDashPattern({2.0, 2.2});
    dashed.setCapStyle(Qt::FlatCap);
    p.setPen(dashed);
    p.drawRoundedRect(QRectF(3.2, 3.2, 17.6, 17.6), 4, 4);
    p.restore();
    QPainterPath question;
    question.moveTo(9.4, 9.6);
    question.cubicTo(9.4, 7.9, 10.6, 7, 12, 7);
    question.cubicTo(13.5, 7, 14.6, 8, 14.6, 9.4);
    question.cubicTo(14.6, 11.4, 12, 11.6, 12, 13.6);
    p.drawPath(question);
    dot(p, 12, 16.6, 1.1);
}

}  // namespace tarvelo::ui
