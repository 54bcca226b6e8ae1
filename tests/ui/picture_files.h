#pragma once

// Solid-colour pictures in a temporary folder, so a test can tell from a grabbed widget which
// picture was drawn.

#include <QColor>
#include <QImage>
#include <QTemporaryDir>

namespace quorvel::test {

class PictureFiles {
public:
    QString solid(const QString& name, QSize size, QColor colour) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = m_dir.filePath(name + QStringLiteral(".png"));
        image.save(path);
        return path;
    }
    QString save(const QString& name, const QImage& image) {
        const QString path = m_dir.filePath(name + QStringLiteral(".png"));
        image.save(path);
        return path;
    }

private:
    QTemporaryDir m_dir;
};

}  // namespace quorvel::test
