#pragma once

#include "catalogue/Codepage.h"
#include "catalogue/TextTables.h"

#include <QDialog>
#include <QShowEvent>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <string>

namespace trv {

// The device dialogs show the 8-bit texts of the language files in the Western code page.
inline QString dialogText(const std::string& bytes) {
    return QString::fromStdString(decodeToUtf8(bytes, Codepage::Western));
}

// A caption-table entry, or the design's text while no caption file has filled the entry.
inline QString captionOr(const CaptionTable& captions, int entry, const QString& design) {
    const std::string& text = captions.text(entry);
    return text.empty() ? design : dialogText(text);
}

// The device dialogs start their sequence when the program shows them, once they are on screen,
// so the first lines appear while the first exchange runs.
template <typename Activate> void activateOnceShown(QDialog& dialog, const QShowEvent& event, Activate activate) {
    if (event.spontaneous())
        return;
    QTimer::singleShot(0, &dialog, [&dialog, activate] {
        if (dialog.isVisible())
            activate();
    });
}

} // namespace trv
