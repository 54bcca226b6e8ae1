#include "window/desktop_contrast.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QStyleHints>
#include <QtGlobal>

namespace quorvel {
namespace {

// The portal's Read answers a variant inside a variant.
QVariant readPortal(QDBusConnection& bus, const QString& group, const QString& key) {
    QDBusMessage read = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
    read << group << key;
    const QDBusMessage reply = bus.call(read, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
    QVariant value = reply.arguments().constFirst();
    while (value.canConvert<QDBusVariant>()) value = value.value<QDBusVariant>().variant();
    return value;
}

}  // namespace

ContrastHints DesktopContrastHints() {
    ContrastHints hints;
#if QT_VERSION >= QT_VERSION_CHECK(6, 10, 0)
    hints.qtAsksHighContrast =
        QGuiApplication::styleHints()->accessibility()->contrastPreference() ==
        Qt::ContrastPreference::HighContrast;
#endif
    hints.themeName = qEnvironmentVariable("GTK_THEME").toStdString();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return hints;
    const QVariant contrast =
        readPortal(bus, QStringLiteral("org.freedesktop.appearance"), QStringLiteral("contrast"));
    if (contrast.isValid()) hints.portalContrast = contrast.toUInt();
    if (hints.portalContrast != 1u) {
        const QVariant gnome = readPortal(bus, QStringLiteral("org.gnome.desktop.a11y.interface"),
                                          QStringLiteral("high-contrast"));
        if (gnome.isValid() && gnome.toBool()) hints.portalContrast = 1u;
    }
    return hints;
}

}  // namespace quorvel
