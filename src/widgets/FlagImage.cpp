#include "widgets/FlagImage.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QImageReader>
#include <QMouseEvent>
#include <QPixmap>

namespace trv {

namespace {

QImage readBitmap(QBuffer& buffer) {
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace

bool FlagDecoder::loadFlag(const std::string& path, const std::optional<std::string>& bytes) {
    const QString shownPath = QDir::toNativeSeparators(QString::fromLocal8Bit(path.c_str()));
    if (!bytes) {
        // Let the toolkit say why the file can't be read.
        QImageReader reader(QString::fromLocal8Bit(path.c_str()));
        reader.read();
        errorSink_ = QStringLiteral("Cannot load the picture %1: %2").arg(shownPath, reader.errorString());
        return false;
    }
    QByteArray data(bytes->data(), static_cast<qsizetype>(bytes->size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // A flag is a bitmap: read as one first, so the start-up doesn't load every image plugin to
    // guess the format. Anything else gets the toolkit's full detection and its error text.
    QImage image = readBitmap(buffer);
    if (image.isNull()) {
        buffer.seek(0);
        QImageReader reader(&buffer);
        image = reader.read();
        if (image.isNull()) {
            errorSink_ = QStringLiteral("Cannot load the picture %1: %2").arg(shownPath, reader.errorString());
            return false;
        }
    }
    image_ = std::move(image);
    return true;
}

FlagImageLabel::FlagImageLabel(QString& errorSink, QWidget* parent) : QLabel(parent), decoder_(errorSink) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setCursor(Qt::PointingHandCursor);
    // Until a language's flag is loaded, a sunken panel shows where to click.
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

bool FlagImageLabel::loadFlag(const std::string& path, const std::optional<std::string>& bytes) {
    if (!decoder_.loadFlag(path, bytes))
        return false;
    setFrameStyle(QFrame::NoFrame);
    setPixmap(QPixmap::fromImage(decoder_.image()));
    return true;
}

void FlagImageLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

} // namespace trv
