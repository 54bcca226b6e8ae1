#pragma once

// The painting of the calculator windows' skins and key pictures, shared by the skin generator
// (which commits them at 100 %) and the window (which paints them at any other zoom, so that a
// larger window is drawn sharp rather than stretched). Shapes are described in the pixels of
// the 100 % picture and painted through a scale, so every zoom shows the same picture.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPointF>
#include <QRectF>

class QFont;

namespace quorvel::skins {

enum class MainSkin { Standard, Cartoon, Mini, Detail, Contrast };
// Which key pictures: the window's control looks, and the dialogs' buttons and tabs.
enum class KeySet {
    Key,
    Accent,
    Mini,
    Cartoon,
    ContrastKey,
    ContrastAccent,
    ContrastWord,
    Button,
    Tab
};
enum class KeyState { Normal, Pressed, Hover };

// The skin's size at 100 %.
QSize mainSkinSize(MainSkin skin);
QSize keySize(KeySet set);

// `percent` of the 100 % size, each side rounded to the nearest pixel. Skins are flattened:
// outside the outline is the key colour, inside opaque. Key pictures keep their transparent
// corners.
QImage paintMainSkin(MainSkin skin, int percent);
QImage paintKeyPicture(KeySet set, KeyState state, int percent);
// Painted to fill exactly `size`, which may differ from the zoomed size by the rounding of
// a control's edges.
QImage paintKeyPicture(KeySet set, KeyState state, QSize size);

// The window icon, `size` pixels square.
QImage paintIcon(int size);

// Helpers the generator's dialog skins share.
QImage blankImage(int width, int height);
QImage flattenSkin(const QImage& painted);
QLinearGradient verticalGradient(qreal top, qreal bottom, QColor from, QColor to);
QFont skinFont(int pixels, int weight);

// The icon is described once, as shapes on a 64-unit square, and drawn by two canvases: the
// painter for the PNG sizes and the window icon, and the generator's SVG writer.
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

void drawIcon(IconCanvas& canvas);

}  // namespace quorvel::skins
