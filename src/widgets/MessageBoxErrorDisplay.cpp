#include "widgets/MessageBoxErrorDisplay.h"

#include "widgets/ModuleEntry.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace trv {

MessageBoxErrorDisplay::MessageBoxErrorDisplay(QString soundPath, QString playerModule)
    : soundPath_(std::move(soundPath)), playerModule_(std::move(playerModule)) {}

MessageBoxErrorDisplay::~MessageBoxErrorDisplay() = default;

namespace {

std::unique_ptr<ErrorSound> loadPlayer(const QString& module, const QString& soundPath) {
    const auto create = ModuleEntry<CreateErrorSound>(module, ErrorSoundFactory);
    return std::unique_ptr<ErrorSound>(create != nullptr ? create(soundPath) : nullptr);
}

} // namespace

void MessageBoxErrorDisplay::playErrorSound() {
    const QFileInfo file(soundPath_);
    if (!file.isFile() || !file.isReadable()) {
        QApplication::beep();
        return;
    }
    if (!sound_) {
        sound_ = loadPlayer(playerModule_, file.absoluteFilePath());
        if (!sound_) {
            QApplication::beep();
            return;
        }
    } else if (sound_->failed()) {
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
