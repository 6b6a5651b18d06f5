#pragma once

#include "data/LanguageSelection.h"

#include <QImage>
#include <QLabel>
#include <QString>

namespace trv {

// Decodes a language's flag bitmap. A failure leaves the toolkit's error text in the sink the
// owner reads when it reports the failure.
class FlagDecoder : public FlagPicture {
public:
    explicit FlagDecoder(QString& errorSink) : errorSink_(errorSink) {}

    bool loadFlag(const std::string& path, const std::optional<std::string>& bytes) override;
    const QImage& image() const { return image_; }

private:
    QString& errorSink_;
    QImage image_;
};

// FlagImage: the picture of the current language's flag, clickable to change the language.
class FlagImageLabel : public QLabel, public FlagPicture {
    Q_OBJECT
public:
    FlagImageLabel(QString& errorSink, QWidget* parent);

    // Shows the flag once it is decoded; a failure keeps the picture shown before.
    bool loadFlag(const std::string& path, const std::optional<std::string>& bytes) override;

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    FlagDecoder decoder_;
};

} // namespace trv
