// Paints every skin, button picture, the menu banner and the window icon of Quorvel into the
// folder given as the first argument (res/skins), and the theme icons into the second (res/icons).
// Run it through the build:
//     cmake --build <build> --target skins
// then look at the pictures and commit them.
//
// Skins are painted with antialiasing on a transparent canvas and then flattened: a pixel that
// is less than half covered becomes the key colour 219, 215, 217, which the windows cut away,
// and every other pixel becomes opaque. The outline is therefore crisp and exactly where the
// shape is. Button pictures keep their transparent corners, since the window under them shows.
//
// Free areas the window layouts can rely on: dialogs have a 32-pixel title band and a plain
// panel from y = 40 to 10 pixels above the bottom, 10 pixels in from the sides; the main
// windows keep their top 22 pixels for the name and the speaker grille (the mini window keeps
// its rounded ends, 50 pixels each); the cartoon bubble's panel runs from (18, 34) to
// (532, 156) and its tail fills the bottom-left corner.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cmath>
#include <cstdio>

namespace {

constexpr QRgb kKey = qRgb(219, 215, 217);

QString g_outDir;

QImage blank(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void save(const QImage& image, const char* name) {
    const QString path = g_outDir + QLatin1Char('/') + QLatin1String(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    std::printf("%s %dx%d\n", name, image.width(), image.height());
}

// Turns a painted shape into a skin: outside becomes the key colour, inside is opaque and
// never equals the key by accident.
QImage flatten(const QImage& painted) {
    QImage argb = painted.convertToFormat(QImage::Format_ARGB32);
    QImage skin(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(skin.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(in[x]) < 128) {
                out[x] = kKey;
            } else {
                QRgb c = qRgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
                if (c == kKey) c = qRgb(219, 215, 218);
                out[x] = c;
            }
        }
    }
    return skin;
}

QLinearGradient vertical(qreal top, qreal bottom, QColor from, QColor to) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

QFont font(int pixels, QFont::Weight weight = QFont::Bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setWeight(weight);
    return f;
}

// The icon is described once, as shapes on a 64-unit square, and drawn by two canvases: the
// painter for the PNG sizes and the window icon, and an SVG writer for the scalable theme icon.
struct Fill {
    QColor from;
    QColor to;  // from == to: a flat colour
    qreal top = 0;
    qreal bottom = 0;
};

class IconCanvas {
public:
    virtual ~IconCanvas() = default;
    virtual void roundedRect(const QRectF& rect, qreal radius, const Fill& fill) = 0;
    virtual void outlineRoundedRect(const QRectF& rect, qreal radius, QColor colour,
                                    qreal width) = 0;
    virtual void line(QPointF from, QPointF to, QColor colour, qreal width) = 0;
    // Angles in degrees, counter-clockwise from three o'clock, as QPainter::drawArc counts.
    virtual void arc(QPointF centre, qreal radius, qreal startDegrees, qreal spanDegrees,
                     QColor colour, qreal width) = 0;
};

void drawIcon(IconCanvas& c) {
    const QRectF tile(1, 1, 62, 62);
    c.roundedRect(tile, 14, {QColor(70, 126, 206), QColor(26, 54, 108), 0, 64});
    c.outlineRoundedRect(tile, 14, QColor(16, 34, 70), 1.5);
    c.roundedRect(tile, 14, {QColor(255, 255, 255, 50), QColor(255, 255, 255, 0), 0, 30});

    c.roundedRect(QRectF(10, 11, 29, 42), 5,
                  {QColor(255, 255, 255), QColor(218, 228, 242), 11, 53});
    const QColor display(204, 235, 244);
    c.roundedRect(QRectF(14, 15, 21, 9), 0, {display, display});
    c.line(QPointF(24, 19.5), QPointF(33, 19.5), QColor(11, 52, 125), 1.6);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QColor key = row == 2 && col == 2 ? QColor(246, 150, 60) : QColor(44, 82, 140);
            c.roundedRect(QRectF(14 + 7.5 * col, 28 + 7.5 * row, 5.5, 5.5), 1.5, {key, key});
        }
    }
    for (int i = 0; i < 3; ++i) {
        c.arc(QPointF(40, 32), 6 + 6 * i, -40, 80, QColor(255, 200, 84), 3.2);
    }
}

class PainterCanvas : public IconCanvas {
public:
    explicit PainterCanvas(QPainter& p) : m_p(p) {}
    void roundedRect(const QRectF& rect, qreal radius, const Fill& fill) override {
        QPainterPath path;
        path.addRoundedRect(rect, radius, radius);
        if (fill.from == fill.to) {
            m_p.fillPath(path, fill.from);
        } else {
            m_p.fillPath(path, vertical(fill.top, fill.bottom, fill.from, fill.to));
        }
    }
    void outlineRoundedRect(const QRectF& rect, qreal radius, QColor colour, qreal width) override {
        QPainterPath path;
        path.addRoundedRect(rect, radius, radius);
        m_p.strokePath(path, QPen(colour, width));
    }
    void line(QPointF from, QPointF to, QColor colour, qreal width) override {
        m_p.setPen(QPen(colour, width));
        m_p.drawLine(from, to);
    }
    void arc(QPointF centre, qreal radius, qreal startDegrees, qreal spanDegrees, QColor colour,
             qreal width) override {
        m_p.setBrush(Qt::NoBrush);
        m_p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        m_p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                    qRound(startDegrees * 16), qRound(spanDegrees * 16));
    }

private:
    QPainter& m_p;
};

QString number(qreal value) { return QString::number(value, 'g', 6); }

QString rgb(QColor c) { return c.name(QColor::HexRgb); }

class SvgCanvas : public IconCanvas {
public:
    void roundedRect(const QRectF& rect, qreal radius, const Fill& fill) override {
        QString paint;
        if (fill.from == fill.to) {
            paint = QStringLiteral("fill=\"%1\"").arg(rgb(fill.from));
            if (fill.from.alpha() != 255) paint += opacity("fill-opacity", fill.from);
        } else {
            const QString id = QStringLiteral("g%1").arg(++m_gradients);
            m_defs += QStringLiteral(
                          "    <linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" "
                          "x1=\"0\" y1=\"%2\" x2=\"0\" y2=\"%3\">\n")
                          .arg(id, number(fill.top), number(fill.bottom));
            m_defs += stop(0, fill.from) + stop(1, fill.to);
            m_defs += QStringLiteral("    </linearGradient>\n");
            paint = QStringLiteral("fill=\"url(#%1)\"").arg(id);
        }
        m_body += rectElement(rect, radius) + paint + QStringLiteral("/>\n");
    }
    void outlineRoundedRect(const QRectF& rect, qreal radius, QColor colour, qreal width) override {
        m_body += rectElement(rect, radius) +
                  QStringLiteral("fill=\"none\" stroke=\"%1\" stroke-width=\"%2\"/>\n")
                      .arg(rgb(colour), number(width));
    }
    void line(QPointF from, QPointF to, QColor colour, qreal width) override {
        m_body += QStringLiteral(
                      "  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" "
                      "stroke-width=\"%6\" stroke-linecap=\"square\"/>\n")
                      .arg(number(from.x()), number(from.y()), number(to.x()), number(to.y()),
                           rgb(colour), number(width));
    }
    void arc(QPointF centre, qreal radius, qreal startDegrees, qreal spanDegrees, QColor colour,
             qreal width) override {
        // Counter-clockwise on screen, where y grows downwards: SVG's sweep flag 0.
        const auto at = [&](qreal degrees) {
            const qreal a = qDegreesToRadians(degrees);
            return QPointF(centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a));
        };
        const QPointF from = at(startDegrees);
        const QPointF to = at(startDegrees + spanDegrees);
        m_body += QStringLiteral(
                      "  <path d=\"M %1 %2 A %3 %3 0 %4 0 %5 %6\" fill=\"none\" stroke=\"%7\" "
                      "stroke-width=\"%8\" stroke-linecap=\"round\"/>\n")
                      .arg(number(from.x()), number(from.y()), number(radius),
                           QString::number(std::abs(spanDegrees) > 180 ? 1 : 0), number(to.x()),
                           number(to.y()), rgb(colour), number(width));
    }

    QByteArray document() const {
        return QStringLiteral(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
                   "viewBox=\"0 0 64 64\">\n  <defs>\n%1  </defs>\n%2</svg>\n")
            .arg(m_defs, m_body)
            .toUtf8();
    }

private:
    static QString opacity(const char* attribute, QColor c) {
        return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(attribute), number(c.alphaF()));
    }
    static QString stop(qreal offset, QColor c) {
        return QStringLiteral("      <stop offset=\"%1\" stop-color=\"%2\"%3/>\n")
            .arg(number(offset), rgb(c), opacity("stop-opacity", c));
    }
    static QString rectElement(const QRectF& r, qreal radius) {
        QString e = QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" ")
                        .arg(number(r.x()), number(r.y()), number(r.width()), number(r.height()));
        if (radius > 0) e += QStringLiteral("rx=\"%1\" ").arg(number(radius));
        return e;
    }

    int m_gradients = 0;
    QString m_defs;
    QString m_body;
};

// The window icon: a calculator that talks.
QImage paintIcon(int size) {
    QImage image = blank(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    PainterCanvas canvas(p);
    drawIcon(canvas);
    return image;
}

struct Band {
    QColor top;
    QColor bottom;
};

const Band kNavy{QColor(62, 108, 176), QColor(34, 66, 124)};
const Band kAmber{QColor(236, 136, 58), QColor(190, 82, 30)};
const Band kTeal{QColor(46, 160, 150), QColor(24, 106, 104)};

constexpr int kBandHeight = 32;
constexpr int kPanelTop = 40;

enum class Badge { Icon, Warning, Bulb };

void drawBadge(QPainter& p, Badge badge, const QImage& icon) {
    const QRectF area(12, 6, 20, 20);
    if (badge == Badge::Icon) {
        p.drawImage(area, icon);
        return;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(area);
    if (badge == Badge::Warning) {
        p.setPen(QPen(QColor(190, 82, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(22, 10.5), QPointF(22, 17.5));
        p.drawPoint(QPointF(22, 21.5));
        return;
    }
    // A light bulb for the tips.
    p.setBrush(QColor(255, 200, 64));
    p.setPen(QPen(QColor(150, 100, 10), 1));
    p.drawEllipse(QRectF(17, 8.5, 10, 10));
    p.setBrush(QColor(120, 130, 140));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(19.5, 18, 5, 4.5), 1, 1);
}

QImage paintDialog(int width, int height, const Band& band, QColor panel, Badge badge,
                   const QString& title, const QImage& icon) {
    QImage image = blank(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QPainterPath outline;
    outline.addRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 16, 16);
    p.fillPath(outline, vertical(0, height, QColor(240, 243, 248), QColor(214, 221, 232)));

    p.save();
    p.setClipPath(outline);
    p.fillRect(QRectF(0, 0, width, kBandHeight), vertical(0, kBandHeight, band.top, band.bottom));
    p.fillRect(QRectF(0, 0, width, kBandHeight / 2.0), QColor(255, 255, 255, 34));
    p.setPen(QPen(band.bottom.darker(135), 1));
    p.drawLine(QPointF(0, kBandHeight - 0.5), QPointF(width, kBandHeight - 0.5));
    p.restore();

    drawBadge(p, badge, icon);
    p.setFont(font(14));
    p.setPen(QColor(0, 0, 0, 70));
    p.drawText(QRectF(41, 1, width - 60, kBandHeight), Qt::AlignVCenter | Qt::AlignLeft, title);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(40, 0, width - 60, kBandHeight), Qt::AlignVCenter | Qt::AlignLeft, title);

    // Three small window dots on the right of the band, for a finished look.
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 70 + 40 * i));
        p.drawEllipse(QPointF(width - 50 + 12 * i, kBandHeight / 2.0), 3.2, 3.2);
    }

    QPainterPath panelPath;
    panelPath.addRoundedRect(QRectF(10.5, kPanelTop + 0.5, width - 21, height - kPanelTop - 11), 10,
                             10);
    p.fillPath(panelPath, panel);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(186, 192, 204), 1));
    p.drawPath(panelPath);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.drawRoundedRect(QRectF(2, 2, width - 4, height - 4), 14.5, 14.5);
    p.setPen(QPen(QColor(40, 52, 74), 1.6));
    p.drawPath(outline);
    return flatten(image);
}

// The speaker grille of the main windows: the calculator talks.
void drawGrille(QPainter& p, qreal right, qreal top) {
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 9; ++col) {
            p.setBrush(QColor(120, 138, 166));
            p.drawEllipse(QPointF(right - 8 * col - (row ? 4 : 0), top + 6 * row), 1.6, 1.6);
        }
    }
}

void drawWordmark(QPainter& p, QPointF at, const QImage& icon, QColor colour) {
    p.drawImage(QRectF(at.x(), at.y(), 14, 14), icon);
    p.setFont(font(12));
    p.setPen(colour);
    p.drawText(QRectF(at.x() + 19, at.y() - 2, 200, 18), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Quorvel"));
}

void paintMainBody(QPainter& p, const QPainterPath& outline, int height) {
    p.fillPath(outline, vertical(0, height, QColor(70, 84, 108), QColor(36, 44, 60)));
    p.fillPath(outline,
               vertical(0, height * 0.6, QColor(255, 255, 255, 26), QColor(255, 255, 255, 0)));
}

// The groove under the name strip of the larger main windows.
void drawGroove(QPainter& p, qreal y, qreal left, qreal right) {
    p.setPen(QPen(QColor(20, 26, 38), 1));
    p.drawLine(QPointF(left, y - 0.5), QPointF(right, y - 0.5));
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.drawLine(QPointF(left, y + 0.5), QPointF(right, y + 0.5));
}

void strokeMainOutline(QPainter& p, const QPainterPath& outline, const QPainterPath& inner) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1));
    p.drawPath(inner);
    p.setPen(QPen(QColor(14, 18, 26), 2));
    p.drawPath(outline);
}

QImage paintMain(int width, int height, const QImage& icon) {
    QImage image = blank(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(1, 1, width - 2, height - 2), 20, 20);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(3, 3, width - 6, height - 6), 18, 18);
    paintMainBody(p, outline, height);
    drawWordmark(p, QPointF(16, 5), icon, QColor(196, 210, 230));
    drawGrille(p, width - 20, 8);
    drawGroove(p, 22, 16, width - 16);
    strokeMainOutline(p, outline, inner);
    return flatten(image);
}

QImage paintMini(int width, int height, const QImage& icon) {
    QImage image = blank(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal r = (height - 2) / 2.0;
    QPainterPath outline;
    outline.addRoundedRect(QRectF(1, 1, width - 2, height - 2), r, r);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(3, 3, width - 6, height - 6), r - 2, r - 2);
    paintMainBody(p, outline, height);
    p.drawImage(QRectF(14, height / 2.0 - 13, 26, 26), icon);
    p.save();
    p.translate(width - 28, height / 2.0);
    p.setPen(Qt::NoPen);
    for (int row = -1; row <= 1; ++row) {
        for (int col = -1; col <= 1; ++col) {
            if (row != 0 && col != 0) continue;
            p.setBrush(QColor(120, 138, 166));
            p.drawEllipse(QPointF(7 * col, 7 * row), 2, 2);
        }
    }
    p.restore();
    strokeMainOutline(p, outline, inner);
    return flatten(image);
}

// A scalloped speech bubble: the cartoon calculator is talking.
QImage paintCartoon(int width, int height, const QImage& icon) {
    QImage image = blank(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const qreal bottom = height - 24;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(6, 10, width - 12, bottom - 14), 36, 36);
    QPainterPath scallops;
    for (qreal x = 58; x < width - 50; x += 44) {
        scallops.addEllipse(QPointF(x, 16), 14, 12);
        // The tail takes the place of the first scallops at the bottom.
        if (x > 120) scallops.addEllipse(QPointF(x + 22, bottom - 6), 14, 12);
    }
    QPainterPath tail;
    tail.moveTo(70, bottom - 14);
    tail.cubicTo(72, bottom + 6, 58, height - 8, 30, height - 3);
    tail.cubicTo(80, height - 6, 112, bottom + 2, 128, bottom - 14);
    tail.closeSubpath();
    const QPainterPath outline = shape.united(scallops).united(tail);

    p.fillPath(outline, vertical(0, height, QColor(255, 226, 120), QColor(255, 176, 70)));
    QPainterPath panel;
    panel.addRoundedRect(QRectF(18, 34, width - 36, bottom - 44), 24, 24);
    p.fillPath(panel, vertical(34, bottom - 10, QColor(255, 246, 214), QColor(255, 232, 168)));
    p.setPen(QPen(QColor(226, 150, 60), 1.5, Qt::DashLine));
    p.drawPath(panel);

    // Confetti along the top edge between the scallops.
    const QColor confetti[] = {QColor(64, 190, 178), QColor(236, 96, 120), QColor(90, 130, 230)};
    p.setPen(Qt::NoPen);
    int n = 0;
    for (qreal x = 170; x < width - 60; x += 44, ++n) {
        p.setBrush(confetti[n % 3]);
        p.drawEllipse(QPointF(x, 24 + (n % 2) * 3), 3.5, 3.5);
    }
    p.drawImage(QRectF(30, 12, 18, 18), icon);
    p.setFont(font(15, QFont::Black));
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(53, 10, 150, 24), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Quorvel"));
    p.setPen(QColor(150, 74, 20));
    p.drawText(QRectF(52, 9, 150, 24), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Quorvel"));

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 120), 2));
    p.save();
    p.setClipPath(outline);
    p.translate(0, 2.5);
    p.drawPath(outline);
    p.restore();
    p.setPen(QPen(QColor(130, 62, 18), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(outline);
    return flatten(image);
}

enum class State { Normal, Pressed, Hover };

struct KeyLook {
    QColor top, bottom, border, lip;
};

struct KeyStyle {
    KeyLook normal, hover, pressed;
    qreal radius;
    qreal lipHeight;  // the key's side seen below its face; 0 for flat buttons
    qreal borderWidth;
    bool gloss;
};

QImage paintKey(int width, int height, const KeyStyle& style, State state) {
    QImage image = blank(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const KeyLook& look = state == State::Normal  ? style.normal
                          : state == State::Hover ? style.hover
                                                  : style.pressed;
    const qreal inset = style.borderWidth / 2.0;
    const qreal lip = style.lipHeight;
    // A pressed key sinks: its face moves down over its side.
    const qreal sink = state == State::Pressed ? (lip > 0 ? lip - 1 : 1) : 0;

    if (lip > 0) {
        QPainterPath side;
        side.addRoundedRect(QRectF(inset, inset + lip, width - 2 * inset, height - 2 * inset - lip),
                            style.radius, style.radius);
        p.fillPath(side, look.lip);
        p.setPen(QPen(look.border, style.borderWidth));
        p.drawPath(side);
    }
    const QRectF faceRect(inset, inset + sink, width - 2 * inset,
                          height - 2 * inset - (lip > 0 ? lip : 0) - (lip > 0 ? 0 : sink));
    QPainterPath face;
    face.addRoundedRect(faceRect, style.radius, style.radius);
    p.fillPath(face, vertical(faceRect.top(), faceRect.bottom(), look.top, look.bottom));
    if (state == State::Pressed) {
        // A shadow along the top edge of a pushed-in key.
        p.save();
        p.setClipPath(face);
        p.fillRect(
            QRectF(0, faceRect.top(), width, 3),
            vertical(faceRect.top(), faceRect.top() + 3, QColor(0, 0, 0, 50), QColor(0, 0, 0, 0)));
        p.restore();
    } else {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255, state == State::Hover ? 200 : 140), 1));
        p.drawRoundedRect(faceRect.adjusted(1.2, 1.2, -1.2, -1.2), style.radius - 1,
                          style.radius - 1);
    }
    if (style.gloss && state != State::Pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 120));
        p.drawEllipse(QRectF(faceRect.left() + 6, faceRect.top() + 3, faceRect.width() * 0.4,
                             faceRect.height() * 0.28));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(look.border, style.borderWidth));
    p.drawPath(face);
    return image;
}

void saveKeySet(const char* stem, int width, int height, const KeyStyle& style) {
    const struct {
        State state;
        const char* suffix;
    } states[] = {{State::Normal, "normal"}, {State::Pressed, "pressed"}, {State::Hover, "hover"}};
    for (const auto& s : states) {
        const QByteArray name = QByteArray(stem) + '_' + s.suffix + ".png";
        save(paintKey(width, height, style, s.state), name.constData());
    }
}

QImage paintBanner(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), vertical(0, height, QColor(238, 243, 252), QColor(188, 206, 238)));
    QLinearGradient shade(0, 0, width, 0);
    shade.setColorAt(0, QColor(255, 255, 255, 90));
    shade.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), shade);
    p.setPen(QColor(150, 170, 206));
    p.drawLine(width - 1, 0, width - 1, height);
    return image;
}

// The desktop's icon theme folders: hicolor/<N>x<N>/apps and hicolor/scalable/apps.
void saveThemeIcons(const QString& themeDir) {
    const QString name = QStringLiteral(QUORVEL_APP_ID);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(themeDir).arg(size);
        const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(dir) || !paintIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
        std::printf("%s\n", qPrintable(path));
    }
    const QString dir = themeDir + QStringLiteral("/hicolor/scalable/apps");
    QFile svg(dir + QLatin1Char('/') + name + QStringLiteral(".svg"));
    SvgCanvas canvas;
    drawIcon(canvas);
    const QByteArray document = canvas.document();
    if (!QDir().mkpath(dir) || !svg.open(QIODevice::WriteOnly) ||
        svg.write(document) != document.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svg.fileName()));
        std::exit(1);
    }
    std::printf("%s\n", qPrintable(svg.fileName()));
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <skins folder> <icon theme folder>\n", argv[0]);
        return 2;
    }
    g_outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    saveThemeIcons(QDir(QString::fromLocal8Bit(argv[2])).absolutePath());

    const QImage icon = paintIcon(64);
    save(icon, "icon.png");
    const QImage smallIcon = paintIcon(128);  // drawn smaller, stays sharp

    save(paintMain(670, 150, smallIcon), "main_standard.png");
    save(paintCartoon(550, 190, smallIcon), "main_cartoon.png");
    save(paintMini(590, 70, smallIcon), "main_mini.png");
    save(paintMain(670, 300, smallIcon), "main_detail.png");

    const QColor cream(245, 243, 233);
    const QColor white(255, 255, 255);
    const QString name = QStringLiteral("Quorvel");
    save(paintDialog(620, 370, kNavy, cream, Badge::Icon, name, smallIcon), "dialog_large.png");
    save(paintDialog(750, 370, kNavy, cream, Badge::Icon, name, smallIcon), "dialog_converter.png");
    save(paintDialog(570, 200, kNavy, cream, Badge::Icon, name, smallIcon), "dialog_formula.png");
    save(paintDialog(510, 310, kNavy, white, Badge::Icon, name, smallIcon),
         "dialog_style_message.png");
    save(paintDialog(510, 300, kAmber, white, Badge::Warning, name, smallIcon),
         "dialog_input_message.png");
    save(paintDialog(310, 240, kNavy, cream, Badge::Icon, name, smallIcon),
         "dialog_parameters.png");
    save(paintDialog(430, 300, kTeal, cream, Badge::Bulb, QStringLiteral("Tip of the day"),
                     smallIcon),
         "dialog_tip.png");

    const KeyStyle button{{QColor(252, 253, 255), QColor(212, 223, 240), QColor(96, 120, 160), {}},
                          {QColor(236, 246, 255), QColor(172, 208, 255), QColor(30, 104, 224), {}},
                          {QColor(184, 202, 230), QColor(212, 224, 243), QColor(46, 76, 126), {}},
                          6,
                          0,
                          1.2,
                          false};
    saveKeySet("button", 65, 25, button);
    KeyStyle tab = button;
    tab.radius = 5;
    tab.pressed = {QColor(160, 192, 238), QColor(190, 212, 244), QColor(34, 72, 140), {}};
    saveKeySet("tab", 70, 25, tab);

    const KeyStyle key{
        {QColor(252, 253, 255), QColor(222, 228, 238), QColor(64, 76, 98), QColor(128, 140, 162)},
        {QColor(230, 242, 255), QColor(176, 210, 252), QColor(30, 96, 210), QColor(70, 120, 206)},
        {QColor(202, 211, 226), QColor(226, 232, 242), QColor(56, 68, 90), QColor(128, 140, 162)},
        7,
        3,
        1.2,
        false};
    saveKeySet("key", 40, 30, key);
    KeyStyle mini = key;
    mini.radius = 6;
    mini.lipHeight = 2;
    saveKeySet("key_mini", 32, 24, mini);

    const KeyStyle accent{
        {QColor(255, 208, 136), QColor(246, 154, 64), QColor(128, 62, 16), QColor(186, 96, 30)},
        {QColor(255, 236, 190), QColor(255, 190, 100), QColor(200, 80, 0), QColor(226, 120, 30)},
        {QColor(230, 142, 58), QColor(248, 176, 100), QColor(120, 58, 14), QColor(186, 96, 30)},
        7,
        3,
        1.2,
        false};
    saveKeySet("key_accent", 40, 30, accent);

    const KeyStyle cartoon{
        {QColor(150, 234, 222), QColor(52, 180, 168), QColor(22, 86, 82), QColor(24, 116, 108)},
        {QColor(186, 246, 236), QColor(84, 206, 192), QColor(214, 120, 10), QColor(30, 136, 126)},
        {QColor(44, 158, 148), QColor(100, 206, 194), QColor(22, 86, 82), QColor(24, 116, 108)},
        15,
        4,
        2.2,
        true};
    saveKeySet("key_cartoon", 42, 36, cartoon);

    save(paintBanner(24, 160), "menu_banner.png");
    return 0;
}
