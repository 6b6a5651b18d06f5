#pragma once

#include "data/Codepage.h"
#include "data/TextTables.h"

#include <QDialog>
#include <QLabel>
#include <QShowEvent>
#include <QString>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>

#include <string>
#include <string_view>

namespace trv {

// The 8-bit texts of the data folder, in every window the way the main window shows them: the
// Central European code page its fonts are made for.
inline QString DialogText(std::string_view bytes) {
    return QString::fromStdString(DecodeToUtf8(bytes, Codepage::CentralEuropean));
}

// A hint as plain text: a file's text that looks like markup shows its characters, never markup.
inline QString PlainHint(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

// A label that shows whatever text it is given as text.
inline QLabel* PlainLabel(QLabel* label) {
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A caption-table entry, or the design's text while no caption file has filled the entry.
inline QString CaptionOr(const CaptionTable& captions, int entry, const QString& design) {
    const std::string& text = captions.text(entry);
    return text.empty() ? design : DialogText(text);
}

// The device dialogs start their sequence when the program shows them, once they are on screen,
// so the first lines appear while the first exchange runs.
template <typename Activate> void ActivateOnceShown(QDialog& dialog, const QShowEvent& event, Activate activate) {
    if (event.spontaneous())
        return;
    QTimer::singleShot(0, &dialog, [&dialog, activate] {
        if (dialog.isVisible())
            activate();
    });
}

} // namespace trv
