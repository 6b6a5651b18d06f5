#include "widgets/MessageBoxErrorDisplay.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QSoundEffect>
#include <QUrl>

namespace trv {

MessageBoxErrorDisplay::MessageBoxErrorDisplay(QString soundPath) : soundPath_(std::move(soundPath)) {}

MessageBoxErrorDisplay::~MessageBoxErrorDisplay() = default;

void MessageBoxErrorDisplay::playErrorSound() {
    const QFileInfo file(soundPath_);
    if (!file.isFile() || !file.isReadable()) {
        QApplication::beep();
        return;
    }
    if (!sound_) {
        sound_ = std::make_unique<QSoundEffect>();
        // Loading is asynchronous: a file that turns out unplayable gives the beep when that is known.
        QObject::connect(sound_.get(), &QSoundEffect::statusChanged, sound_.get(), [effect = sound_.get()] {
            if (effect->status() == QSoundEffect::Error)
                QApplication::beep();
        });
        sound_->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    } else if (sound_->status() == QSoundEffect::Error) {
        QApplication::beep();
        return;
    }
    sound_->play();
}

// The toolkit has a single icon for errors and stops alike, so the kind asked for makes no difference.
void MessageBoxErrorDisplay::show(QWidget* parent, const QString& title, const QString& text, Icon /*icon*/,
                                  bool withSound) {
    if (withSound)
        playErrorSound();
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText); // a file's text is text, never markup
    box.exec();
}

} // namespace trv
