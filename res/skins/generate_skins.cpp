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

#include "ui/skin_painter.h"

namespace {

using namespace quorvel::skins;

QImage blank(int width, int height) { return blankImage(width, height); }
QImage flatten(const QImage& painted) { return flattenSkin(painted); }
QLinearGradient vertical(qreal top, qreal bottom, QColor from, QColor to) {
    return verticalGradient(top, bottom, from, to);
}
QFont font(int pixels, QFont::Weight weight = QFont::Bold) { return skinFont(pixels, weight); }

QString g_outDir;

void save(const QImage& image, const char* name) {
    const QString path = g_outDir + QLatin1Char('/') + QLatin1String(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    std::printf("%s %dx%d\n", name, image.width(), image.height());
}

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

void saveKeySet(const char* stem, KeySet set) {
    const struct {
        KeyState state;
        const char* suffix;
    } states[] = {
        {KeyState::Normal, "normal"}, {KeyState::Pressed, "pressed"}, {KeyState::Hover, "hover"}};
    for (const auto& s : states) {
        const QByteArray name = QByteArray(stem) + '_' + s.suffix + ".png";
        save(paintKeyPicture(set, s.state, 100), name.constData());
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

    save(paintMainSkin(MainSkin::Standard, 100), "main_standard.png");
    save(paintMainSkin(MainSkin::Cartoon, 100), "main_cartoon.png");
    save(paintMainSkin(MainSkin::Mini, 100), "main_mini.png");
    save(paintMainSkin(MainSkin::Detail, 100), "main_detail.png");
    save(paintMainSkin(MainSkin::Contrast, 100), "main_contrast.png");

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

    saveKeySet("button", KeySet::Button);
    saveKeySet("tab", KeySet::Tab);
    saveKeySet("key", KeySet::Key);
    saveKeySet("key_mini", KeySet::Mini);
    saveKeySet("key_accent", KeySet::Accent);
    saveKeySet("key_cartoon", KeySet::Cartoon);
    saveKeySet("key_contrast", KeySet::ContrastKey);
    saveKeySet("key_contrast_accent", KeySet::ContrastAccent);
    saveKeySet("key_contrast_word", KeySet::ContrastWord);

    save(paintBanner(24, 160), "menu_banner.png");
    return 0;
}
