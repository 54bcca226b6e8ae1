#include "dialogs/tip_dlg.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>

#include "dialogs/dialog_button.h"

namespace quorvel {
namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CTipDlg::CTipDlg(SysDataHolder& holder, QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinTip), parent), m_model(holder) {
    setToolTitle(QStringLiteral("Tip of the day"));
    setModal(false);

    m_counter = new QLabel(this);
    m_counter->setGeometry(26, 52, 380, 20);
    QFont counterFont = m_counter->font();
    counterFont.setBold(true);
    m_counter->setFont(counterFont);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("tipText"));
    m_text->setGeometry(26, 80, 378, 166);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont tipFont(QStringLiteral("Sans Serif"));
    tipFont.setStyleHint(QFont::SansSerif);
    tipFont.setPixelSize(16);
    m_text->setFont(tipFont);

    m_showAtStart = new QCheckBox(QStringLiteral("Show tips at start-up"), this);
    m_showAtStart->setGeometry(22, 261, 170, 24);
    m_showAtStart->setAccessibleName(m_showAtStart->text());
    m_showAtStart->setChecked(m_model.showAtStart());
    connect(m_showAtStart, &QCheckBox::toggled, this,
            [this](bool on) { m_model.setShowAtStart(on); });

    m_previous = makeDialogButton(this, QStringLiteral("Previous"),
                                  QStringLiteral("Get previous tip"), QRect(195, 260, 65, 25));
    m_next = makeDialogButton(this, QStringLiteral("Next"), QStringLiteral("Get next tip"),
                              QRect(270, 260, 65, 25));
    m_close = makeDialogButton(this, QStringLiteral("Close"), QStringLiteral("Close this dialog"),
                               QRect(345, 260, 65, 25));
    // The captions are the names; a reader adds the tooltips.
    for (HoverButton* button : {m_previous, m_next, m_close}) {
        button->setAccessibleName(button->text());
    }
    connect(m_previous, &QAbstractButton::clicked, this, [this] {
        m_model.previous();
        showTip();
    });
    connect(m_next, &QAbstractButton::clicked, this, [this] {
        m_model.next();
        showTip();
    });
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::accept);

    setTabOrder(m_showAtStart, m_previous);
    setTabOrder(m_previous, m_next);
    setTabOrder(m_next, m_close);
    showTip();
    setClientSize(430, 300);
    m_close->setFocus();
}

void CTipDlg::showTip() {
    m_counter->setText(qs(m_model.counter()));
    m_text->setText(qs(m_model.text()));
    // A screen reader hears the new tip without moving to it.
    QAccessibleEvent changed(m_text, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void CTipDlg::done(int result) {
    const bool first = !m_model.closed();
    m_model.close();
    SkinnedDialog::done(result);
    if (first) emit tipsClosed();
}

}  // namespace quorvel
