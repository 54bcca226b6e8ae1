#pragma once

// The calculator's popup menu: a picture strip down its left side carrying a rotated banner
// text, items in a small font, the selected item on light grey inside a raised edge.

#include <QFont>
#include <QMenu>
#include <QPixmap>

namespace quorvel {

class BannerMenu : public QMenu {
    Q_OBJECT

public:
    explicit BannerMenu(const QString& bannerText, QWidget* parent = nullptr);

    QString bannerText() const { return m_bannerText; }

    int bannerWidth() const { return m_bannerWidth; }
    const QFont& itemFont() const { return m_itemFont; }
    const QFont& bannerFont() const { return m_bannerFont; }

    // An item is its text height plus 10 high, and as wide as the strip, the text and 10, and
    // its shortcut (after a tab in `text`) with a gap before it.
    QSize itemSize(const QString& text) const;
    static constexpr int kSeparatorHeight = 12;
    // The sum of the item heights.
    int itemsHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_bannerText;
    QPixmap m_banner;
    QFont m_itemFont;
    QFont m_bannerFont;
    int m_bannerWidth = 24;
};

}  // namespace quorvel
