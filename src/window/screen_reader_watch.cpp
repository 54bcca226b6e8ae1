#include "window/screen_reader_watch.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace quorvel {
namespace {

const QString kService = QStringLiteral("org.a11y.Bus");
const QString kPath = QStringLiteral("/org/a11y/bus");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kStatus = QStringLiteral("org.a11y.Status");
const QString kEnabled = QStringLiteral("ScreenReaderEnabled");

}  // namespace

ScreenReaderWatch::ScreenReaderWatch(QObject* parent) : QObject(parent) {}

void ScreenReaderWatch::start() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    bus.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    QDBusMessage get =
        QDBusMessage::createMethodCall(kService, kPath, kProperties, QStringLiteral("Get"));
    get << kStatus << kEnabled;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(get, 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                const QDBusPendingReply<QDBusVariant> reply = *call;
                if (!reply.isError()) set(reply.value().variant().toBool());
                call->deleteLater();
            });
}

void ScreenReaderWatch::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                          const QStringList& /*invalidated*/) {
    if (interface != kStatus) return;
    const auto it = changed.find(kEnabled);
    if (it != changed.end()) set(it->toBool());
}

void ScreenReaderWatch::set(bool running) {
    const bool changed = running != m_running;
    m_running = running;
    if (changed) emit runningChanged(running);
}

}  // namespace quorvel
