#include "ui/banner_menu.h"

#include <qdrawutil.h>

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include "ui/fonts.h"
#include "ui/skin_resources.h"

namespace quorvel {
namespace {

constexpr int kTextPadding = 10;
constexpr int kShortcutGap = 24;

// QMenu hands an item its text and its shortcut in one, apart by a tab.
QString shownText(const QString& text) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    return tab < 0 ? text : text.left(tab);
}

QString shortcutText(const QString& text) {
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    return tab < 0 ? QString() : text.mid(tab + 1);
}

// Lays out and draws the items; the strip itself is painted by the menu over the items' left
// ends.
class BannerMenuStyle : public QProxyStyle {
public:
    explicit BannerMenuStyle(const BannerMenu& menu) : m_menu(menu) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        switch (metric) {
            case PM_MenuHMargin:
            case PM_MenuVMargin:
            case PM_MenuPanelWidth:
            case PM_MenuDesktopFrameWidth:
                return 0;
            default:
                return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        if (type != CT_MenuItem) return QProxyStyle::sizeFromContents(type, option, size, widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (item && item->menuItemType == QStyleOptionMenuItem::Separator) {
            return {m_menu.bannerWidth() + kTextPadding, BannerMenu::kSeparatorHeight};
        }
        return m_menu.itemSize(item ? item->text : QString());
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_MenuEmptyArea) return;
        if (element != CE_MenuItem) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (!item) return;
        QRect area = item->rect;
        area.setLeft(area.left() + m_menu.bannerWidth());
        painter->fillRect(area, item->palette.color(QPalette::Base));
        if (item->menuItemType == QStyleOptionMenuItem::Separator) {
            const int y = area.center().y();
            painter->setPen(item->palette.color(QPalette::Mid));
            painter->drawLine(area.left() + 4, y, area.right() - 4, y);
            painter->setPen(item->palette.color(QPalette::Light));
            painter->drawLine(area.left() + 4, y + 1, area.right() - 4, y + 1);
            return;
        }
        const bool enabled = item->state & State_Enabled;
        if ((item->state & State_Selected) && enabled) {
            painter->fillRect(area, QColor::fromRgb(skins::kMenuSelected));
            qDrawShadeRect(painter, area, item->palette, false, 1);
        }
        painter->setFont(m_menu.itemFont());
        painter->setPen(
            item->palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Text));
        painter->drawText(
            area.adjusted(kTextPadding / 2, 0, 0, 0),
            Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic | Qt::TextSingleLine,
            shownText(item->text));
        // The key that runs the item, at the right edge, as menus show it.
        painter->drawText(area.adjusted(0, 0, -kTextPadding / 2, 0),
                          Qt::AlignVCenter | Qt::AlignRight | Qt::TextSingleLine,
                          shortcutText(item->text));
    }

private:
    const BannerMenu& m_menu;
};

}  // namespace

BannerMenu::BannerMenu(const QString& bannerText, QWidget* parent)
    : QMenu(parent), m_bannerText(bannerText) {
    skins::initResources();
    m_banner = skins::loadPixmap(QString::fromLatin1(skins::kMenuBanner));
    m_itemFont = QApplication::font();
    m_itemFont.setPixelSize(12);
    m_itemFont.setWeight(QFont::Normal);
    m_bannerFont = QFont(uiFontFamily());
    m_bannerFont.setPixelSize(15);
    m_bannerFont.setWeight(QFont::Normal);
    m_bannerWidth = QFontMetrics(m_bannerFont).height() + 8;
    auto* style = new BannerMenuStyle(*this);
    style->setParent(this);
    setStyle(style);
}

QSize BannerMenu::itemSize(const QString& text) const {
    const QFontMetrics metrics(m_itemFont);
    const QSize textSize = metrics.size(Qt::TextShowMnemonic | Qt::TextSingleLine, shownText(text));
    const QString keys = shortcutText(text);
    const int keysWidth = keys.isEmpty() ? 0 : kShortcutGap + metrics.horizontalAdvance(keys);
    return {m_bannerWidth + textSize.width() + keysWidth + kTextPadding,
            textSize.height() + kTextPadding};
}

int BannerMenu::itemsHeight() const {
    int total = 0;
    for (const QAction* action : actions()) {
        if (!action->isVisible()) continue;
        total += action->isSeparator() ? kSeparatorHeight : itemSize(action->text()).height();
    }
    return total;
}

void BannerMenu::paintEvent(QPaintEvent* event) {
    QMenu::paintEvent(event);
    QPainter painter(this);
    const QRect strip(0, 0, m_bannerWidth, height());
    painter.drawPixmap(strip, m_banner);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setFont(m_bannerFont);
    painter.setPen(QColor::fromRgb(skins::kMenuBannerText));
    // Read from the bottom up, like a book's spine.
    painter.translate(0, height());
    painter.rotate(-90);
    painter.drawText(QRect(6, 0, height() - 12, m_bannerWidth),
                     Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, m_bannerText);
}

}  // namespace quorvel
