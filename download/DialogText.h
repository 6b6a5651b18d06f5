#pragma once

#include "catalogue/Codepage.h"
#include "catalogue/TextTables.h"

#include <QString>
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

} // namespace trv
