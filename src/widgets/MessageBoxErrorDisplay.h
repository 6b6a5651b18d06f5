#pragma once

#include "widgets/ErrorDisplay.h"

#include <QString>

#include <memory>

class QSoundEffect;

namespace trv {

// Error boxes as the user sees them: the error sound played asynchronously (the system beep when
// the sound file is missing or can't be played), then a modal box with one OK button.
class MessageBoxErrorDisplay : public ErrorDisplay {
public:
    // soundPath: the error sound of the data folder.
    explicit MessageBoxErrorDisplay(QString soundPath);
    ~MessageBoxErrorDisplay() override;

    void show(QWidget* parent, const QString& title, const QString& text, Icon icon, bool withSound) override;

private:
    void playErrorSound();

    QString soundPath_;
    // Kept between boxes so playback outlives the call that started it.
    std::unique_ptr<QSoundEffect> sound_;
};

} // namespace trv
