// The error sound's player module (see widgets/ErrorSound.h).
#include "widgets/ErrorSound.h"

#include <QApplication>
#include <QSoundEffect>
#include <QUrl>

namespace {

class SoundEffectPlayer final : public trv::ErrorSound {
public:
    explicit SoundEffectPlayer(const QString& soundPath) {
        // Loading is asynchronous: a file that turns out unplayable gives the beep when that is known.
        QObject::connect(&effect_, &QSoundEffect::statusChanged, &effect_, [this] {
            if (effect_.status() == QSoundEffect::Error)
                QApplication::beep();
        });
        effect_.setSource(QUrl::fromLocalFile(soundPath));
    }

    bool failed() const override { return effect_.status() == QSoundEffect::Error; }
    void play() override { effect_.play(); }

private:
    QSoundEffect effect_;
};

} // namespace

extern "C" Q_DECL_EXPORT trv::ErrorSound* trvCreateErrorSound(const QString& soundPath) {
    return new SoundEffectPlayer(soundPath);
}
