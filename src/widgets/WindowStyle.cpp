#include "widgets/WindowStyle.h"

#include <QFontDatabase>
#include <QPalette>
#include <QStringList>
#include <QWidget>

namespace trv {

namespace {

// A face that isn't installed costs a font match every time a font of the list is loaded, and
// the design's own faces rarely are: the list starts at the first installed face, which is the one
// shown either way. Looked up in the list of installed faces, as asking for a missing face by name
// costs the same match.
QStringList installedFirst(const QStringList& families) {
    QStringList installed = QFontDatabase::families();
    // A face made by several foundries is listed once per foundry, as "Face [Foundry]".
    for (QString& face : installed)
        face = face.section(QStringLiteral(" ["), 0, 0);
    for (qsizetype k = 0; k < families.size(); ++k) {
        if (installed.contains(families[k], Qt::CaseInsensitive))
            return families.mid(k);
    }
    return families;
}

QFont designFont(const QStringList& families, int pixelSize) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

QFont mainWindowFont() {
    static const QStringList families =
        installedFirst({"MS Sans Serif", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"});
    return designFont(families, 13);
}

QFont dialogFont(int pixelSize, bool bold) {
    // Fallbacks in order of how close their widths come to the design's, which the fixed layouts assume.
    static const QStringList families = installedFirst({"Tahoma", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"});
    QFont font = designFont(families, pixelSize);
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
