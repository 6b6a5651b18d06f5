#include "widgets/WindowBuilder.h"

#include "widgets/DialogText.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace trv {

void WindowBuilder::frame(const WindowDesign& design, const QFont& font, const QColor& background) const {
    window_.setObjectName(QString::fromLatin1(design.name));
    window_.setFixedSize(design.size);
    if (window_.windowFlags().testFlag(Qt::WindowContextHelpButtonHint))
        window_.setWindowFlags(window_.windowFlags() & ~Qt::WindowContextHelpButtonHint);
    window_.setFont(font);
    SetWindowBackground(window_, background);
    if (design.title.design != nullptr || design.title.entry != NoCaption)
        window_.setWindowTitle(text(design.title));
}

QString WindowBuilder::text(const DesignText& text) const {
    const QString design = text.design == nullptr ? QString() : QString::fromUtf8(text.design);
    return captions_ == nullptr ? design : CaptionOr(*captions_, text.entry, design);
}

void WindowBuilder::apply(QWidget& control, const ControlDesign& design) const {
    control.setObjectName(QString::fromLatin1(design.name));
    auto* label = qobject_cast<QLabel*>(&control);
    // A label shows a file's text as text, never as markup.
    if (label != nullptr)
        label->setTextFormat(Qt::PlainText);
    if (design.text.design != nullptr || design.text.entry != NoCaption)
        ShowCaption(control, text(design.text));
    if (design.hint.design != nullptr || design.hint.entry != NoCaption)
        control.setToolTip(PlainHint(text(design.hint)));
    if (!design.place.size().isEmpty())
        control.setGeometry(design.place);
    else if (label != nullptr)
        control.move(design.place.topLeft());
}

void ShowCaption(QWidget& control, const QString& text) {
    if (auto* box = qobject_cast<QGroupBox*>(&control)) {
        box->setTitle(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        button->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        edit->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(&control)) {
        label->setText(text);
        label->adjustSize();
    }
}

} // namespace trv
