// The yardstick for the application's start: a bare toolkit window of the main window's size and
// background colour, centred on the screen, and nothing else.
#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(799, 556);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(64, 160, 208));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return application.exec();
}
