#include "widgets/WindowStyle.h"

#include <QApplication>
#include <QFontDatabase>
#include <QIconEngine>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
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

// A style's standard icon, asked of the style the first time it is drawn or measured.
class DeferredStandardIcon final : public QIconEngine {
public:
    DeferredStandardIcon(const QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("trv.deferred"); }
    QIconEngine* clone() const override { return new DeferredStandardIcon(*this); }

private:
    QIcon& icon() {
        if (!loaded_ && style_ != nullptr)
            icon_ = style_->standardIcon(which_);
        loaded_ = true;
        return icon_;
    }

    QPointer<const QStyle> style_;
    QStyle::StandardPixmap which_;
    bool loaded_ = false;
    QIcon icon_;
};

class ApplicationStyle final : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton && qobject_cast<const QMenuBar*>(widget) != nullptr)
            return QIcon(new DeferredStandardIcon(baseStyle(), which));
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

} // namespace

void InstallApplicationStyle() {
    QApplication::setStyle(new ApplicationStyle);
}

QFont MainWindowFont() {
    static const QStringList families =
        installedFirst({"MS Sans Serif", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"});
    return designFont(families, 13);
}

QFont DialogFont(int pixelSize, bool bold) {
    // Fallbacks in order of how close their widths come to the design's, which the fixed layouts assume.
    static const QStringList families = installedFirst({"Tahoma", "Liberation Sans", "Nimbus Sans", "DejaVu Sans"});
    QFont font = designFont(families, pixelSize);
    font.setBold(bold);
    return font;
}

void SetWindowBackground(QWidget& window, const QColor& colour) {
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, colour);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}

} // namespace trv
