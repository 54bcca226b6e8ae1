#include "dialogs/resize_dlg.h"

#include <QLabel>

#include "dialogs/dialog_button.h"
#include "tools/style_code.h"

namespace quorvel {

CResizeDlg::CResizeDlg(int styleCode, QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinStyleMessage), parent) {
    setWindowTitle(QStringLiteral("Quorvel"));
    setStaticBackground(QColor::fromRgb(skins::kMessageBackground));

    const std::string_view text = styleMessage(styleCode);
    m_message =
        new QLabel(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setMargin(8);
    m_message->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    QFont font = m_message->font();
    font.setPointSize(12);
    m_message->setFont(font);
    m_message->setGeometry(24, 56, 462, 180);
    m_message->setAccessibleName(m_message->text().trimmed());
    colourStatic(m_message);

    m_ok = makeDialogButton(this, QStringLiteral("OK"), QString(), QRect(220, 255, 65, 25));
    m_ok->setObjectName(QStringLiteral("ok"));
    connect(m_ok, &QAbstractButton::clicked, this, &CResizeDlg::accept);

    setClientSize(510, 310);
    m_ok->setFocus();
}

QString CResizeDlg::message() const { return m_message->text(); }

}  // namespace quorvel
