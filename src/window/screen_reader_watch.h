#pragma once

// Whether a screen reader runs: the accessibility bus's ScreenReaderEnabled property
// (org.a11y.Status on org.a11y.Bus), read without blocking and followed while it changes.

#include <QObject>
#include <QVariantMap>

namespace quorvel {

class ScreenReaderWatch : public QObject {
    Q_OBJECT

public:
    explicit ScreenReaderWatch(QObject* parent = nullptr);

    // Asks the session bus; the answer arrives as runningChanged(). Without a session bus
    // nothing arrives, which means no screen reader.
    void start();
    bool running() const { return m_running; }

signals:
    void runningChanged(bool running);

private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& invalidated);

private:
    void set(bool running);

    bool m_running = false;
};

}  // namespace quorvel
