#include "ui/skin_painter.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "ui/fonts.h"

namespace quorvel::skins {
namespace {

constexpr QRgb kKey = qRgb(219, 215, 217);

QImage blank(int width, int height) { return blankImage(width, height); }
QImage flatten(const QImage& painted) { return flattenSkin(painted); }
QLinearGradient vertical(qreal top, qreal bottom, QColor from, QColor to) {
    return verticalGradient(top, bottom, from, to);
}
QFont font(int pixels, QFont::Weight weight = QFont::Bold) { return skinFont(pixels, weight); }

// A canvas of `percent` of a 100 % picture of `width` by `height`, painted in the 100 %
// picture's pixels.
QSize zoomedSize(int width, int height, int percent) {
    return {std::max(1, static_cast<int>(std::lround(width * percent / 100.0))),
            std::max(1, static_cast<int>(std::lround(height * percent / 100.0)))};
}

struct Canvas {
    QImage image;
    QPainter painter;
    Canvas(int width, int height, QSize target)
        : image(blank(target.width(), target.height())), painter(&image) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(image.width() / qreal(width), image.height() / qreal(height));
    }
    Canvas(int width, int height, int percent)
        : Canvas(width, height, zoomedSize(width, height, percent)) {}
};

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

}  // namespace

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

namespace {

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

QImage paintMain(int width, int height, const QImage& icon, int percent) {
    Canvas canvas(width, height, percent);
    QImage& image = canvas.image;
    QPainter& p = canvas.painter;
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

QImage paintMini(int width, int height, const QImage& icon, int percent) {
    Canvas canvas(width, height, percent);
    QImage& image = canvas.image;
    QPainter& p = canvas.painter;
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
QImage paintCartoon(int width, int height, const QImage& icon, int percent) {
    Canvas canvas(width, height, percent);
    QImage& image = canvas.image;
    QPainter& p = canvas.painter;

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

QImage paintKey(int width, int height, const KeyStyle& style, State state, QSize target) {
    Canvas canvas(width, height, target);
    QImage& image = canvas.image;
    QPainter& p = canvas.painter;
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

// The high-contrast window: black, a white outline and name, nothing in grey.
QImage paintContrast(int width, int height, const QImage& icon, int percent) {
    Canvas canvas(width, height, percent);
    QPainter& p = canvas.painter;
    QPainterPath outline;
    outline.addRoundedRect(QRectF(1.5, 1.5, width - 3, height - 3), 20, 20);
    p.fillPath(outline, Qt::black);
    p.drawImage(QRectF(16, 5, 16, 16), icon);
    p.setFont(font(15));
    p.setPen(Qt::white);
    p.drawText(QRectF(38, 2, 200, 22), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Quorvel"));
    p.setPen(QPen(QColor(255, 221, 0), 2));
    p.drawLine(QPointF(16, 26), QPointF(width - 16, 26));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3));
    p.drawPath(outline);
    return flatten(canvas.image);
}

// Flat keys with a solid border: the face's colour alone tells the kind of key.
struct FlatLook {
    QColor face, border;
};
struct FlatKey {
    FlatLook normal, hover, pressed;
};

QImage paintFlatKey(int width, int height, const FlatKey& key, State state, QSize target) {
    Canvas canvas(width, height, target);
    QPainter& p = canvas.painter;
    const FlatLook& look = state == State::Normal  ? key.normal
                           : state == State::Hover ? key.hover
                                                   : key.pressed;
    QPainterPath face;
    face.addRoundedRect(QRectF(1.5, 1.5, width - 3, height - 3), 6, 6);
    p.fillPath(face, look.face);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(look.border, 2));
    p.drawPath(face);
    return canvas.image;
}

const QColor kContrastYellow(255, 221, 0);

const FlatKey kContrastKey{
    {kContrastYellow, Qt::white}, {Qt::white, kContrastYellow}, {QColor(255, 160, 0), Qt::white}};
const FlatKey kContrastAccent{
    {Qt::white, Qt::white}, {kContrastYellow, Qt::white}, {QColor(190, 190, 190), Qt::white}};
const FlatKey kContrastWord{{Qt::black, Qt::white},
                            {QColor(0, 0, 150), kContrastYellow},
                            {QColor(70, 70, 70), kContrastYellow}};

const KeyStyle kKeyStyle{
    {QColor(252, 253, 255), QColor(222, 228, 238), QColor(64, 76, 98), QColor(128, 140, 162)},
    {QColor(230, 242, 255), QColor(176, 210, 252), QColor(30, 96, 210), QColor(70, 120, 206)},
    {QColor(202, 211, 226), QColor(226, 232, 242), QColor(56, 68, 90), QColor(128, 140, 162)},
    7,
    3,
    1.2,
    false};

KeyStyle miniKeyStyle() {
    KeyStyle mini = kKeyStyle;
    mini.radius = 6;
    mini.lipHeight = 2;
    return mini;
}

const KeyStyle kAccentStyle{
    {QColor(255, 208, 136), QColor(246, 154, 64), QColor(128, 62, 16), QColor(186, 96, 30)},
    {QColor(255, 236, 190), QColor(255, 190, 100), QColor(200, 80, 0), QColor(226, 120, 30)},
    {QColor(230, 142, 58), QColor(248, 176, 100), QColor(120, 58, 14), QColor(186, 96, 30)},
    7,
    3,
    1.2,
    false};

const KeyStyle kCartoonStyle{
    {QColor(150, 234, 222), QColor(52, 180, 168), QColor(22, 86, 82), QColor(24, 116, 108)},
    {QColor(186, 246, 236), QColor(84, 206, 192), QColor(214, 120, 10), QColor(30, 136, 126)},
    {QColor(44, 158, 148), QColor(100, 206, 194), QColor(22, 86, 82), QColor(24, 116, 108)},
    15,
    4,
    2.2,
    true};

const KeyStyle kButtonStyle{
    {QColor(252, 253, 255), QColor(212, 223, 240), QColor(96, 120, 160), {}},
    {QColor(236, 246, 255), QColor(172, 208, 255), QColor(30, 104, 224), {}},
    {QColor(184, 202, 230), QColor(212, 224, 243), QColor(46, 76, 126), {}},
    6,
    0,
    1.2,
    false};

KeyStyle tabStyle() {
    KeyStyle tab = kButtonStyle;
    tab.radius = 5;
    tab.pressed = {QColor(160, 192, 238), QColor(190, 212, 244), QColor(34, 72, 140), {}};
    return tab;
}

// Drawn smaller than it is painted, so it stays sharp.
QImage skinIcon() { return paintIcon(128); }

}  // namespace

QImage blankImage(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// Turns a painted shape into a skin: outside becomes the key colour, inside is opaque and
// never equals the key by accident.
QImage flattenSkin(const QImage& painted) {
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

QLinearGradient verticalGradient(qreal top, qreal bottom, QColor from, QColor to) {
    QLinearGradient gradient(0, top, 0, bottom);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

QFont skinFont(int pixels, int weight) {
    QFont f(uiFontFamily());
    f.setPixelSize(pixels);
    f.setWeight(static_cast<QFont::Weight>(weight));
    return f;
}

QSize mainSkinSize(MainSkin skin) {
    switch (skin) {
        case MainSkin::Cartoon:
            return {550, 190};
        case MainSkin::Mini:
            return {590, 70};
        case MainSkin::Detail:
            return {670, 300};
        case MainSkin::Contrast:
            return {710, 168};
        case MainSkin::Standard:
            break;
    }
    return {670, 150};
}

QSize keySize(KeySet set) {
    switch (set) {
        case KeySet::Mini:
            return {32, 24};
        case KeySet::Cartoon:
        case KeySet::ContrastKey:
        case KeySet::ContrastAccent:
        case KeySet::ContrastWord:
            return {42, 36};
        case KeySet::Button:
            return {65, 25};
        case KeySet::Tab:
            return {70, 25};
        case KeySet::Key:
        case KeySet::Accent:
            break;
    }
    return {40, 30};
}

QImage paintMainSkin(MainSkin skin, int percent) {
    const QSize size = mainSkinSize(skin);
    const QImage icon = skinIcon();
    switch (skin) {
        case MainSkin::Cartoon:
            return paintCartoon(size.width(), size.height(), icon, percent);
        case MainSkin::Mini:
            return paintMini(size.width(), size.height(), icon, percent);
        case MainSkin::Contrast:
            return paintContrast(size.width(), size.height(), icon, percent);
        case MainSkin::Standard:
        case MainSkin::Detail:
            break;
    }
    return paintMain(size.width(), size.height(), icon, percent);
}

QImage paintKeyPicture(KeySet set, KeyState state, int percent) {
    const QSize size = keySize(set);
    return paintKeyPicture(set, state, zoomedSize(size.width(), size.height(), percent));
}

QImage paintKeyPicture(KeySet set, KeyState keyState, QSize target) {
    const QSize size = keySize(set);
    const State state = keyState == KeyState::Normal  ? State::Normal
                        : keyState == KeyState::Hover ? State::Hover
                                                      : State::Pressed;
    switch (set) {
        case KeySet::Accent:
            return paintKey(size.width(), size.height(), kAccentStyle, state, target);
        case KeySet::Mini:
            return paintKey(size.width(), size.height(), miniKeyStyle(), state, target);
        case KeySet::Cartoon:
            return paintKey(size.width(), size.height(), kCartoonStyle, state, target);
        case KeySet::ContrastKey:
            return paintFlatKey(size.width(), size.height(), kContrastKey, state, target);
        case KeySet::ContrastAccent:
            return paintFlatKey(size.width(), size.height(), kContrastAccent, state, target);
        case KeySet::ContrastWord:
            return paintFlatKey(size.width(), size.height(), kContrastWord, state, target);
        case KeySet::Button:
            return paintKey(size.width(), size.height(), kButtonStyle, state, target);
        case KeySet::Tab:
            return paintKey(size.width(), size.height(), tabStyle(), state, target);
        case KeySet::Key:
            break;
    }
    return paintKey(size.width(), size.height(), kKeyStyle, state, target);
}

}  // namespace quorvel::skins
