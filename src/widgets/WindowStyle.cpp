#include "widgets/WindowStyle.h"

#include <QPalette>
#include <QStringList>
#include <QWidget>

namespace trv {

namespace {

QFont designFont(const QStringList& families, int pixelSize) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QFont mainWindowFont() {
    return designFont({"MS Sans Serif", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"}, 13);
}

QFont dialogFont(int pixelSize, bool bold) {
    // Fallbacks in order of how close their widths come to the design's, which the fixed layouts assume.
    QFont font = designFont({"Tahoma", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"}, pixelSize);
    font.setBold(bold);
    return font;
}

void setWindowBackground(QWidget& window, const QColor& colour) {
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, colour);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}

} // namespace trv
