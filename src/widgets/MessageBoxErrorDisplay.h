#pragma once

#include "widgets/ErrorDisplay.h"
#include "widgets/ErrorSound.h"

#include <QString>

#include <memory>

namespace trv {

// Error boxes as the user sees them: the error sound played asynchronously (the system beep when
// the sound file is missing or can't be played, or its player can't be loaded), then a modal box
// with one OK button.
class MessageBoxErrorDisplay : public ErrorDisplay {
public:
    // soundPath: the error sound of the data folder; playerModule: the player's module file, with
    // or without its prefix and suffix.
    MessageBoxErrorDisplay(QString soundPath, QString playerModule);
    ~MessageBoxErrorDisplay() override;

    void show(QWidget* parent, const QString& title, const QString& text, Icon icon, bool withSound) override;

private:
    void playErrorSound();

    QString soundPath_;
    QString playerModule_;
    // Kept between boxes so playback outlives the call that started it.
    std::unique_ptr<ErrorSound> sound_;
};

} // namespace trv
