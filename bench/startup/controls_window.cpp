// The toolkit's own floor for the main window: a window of the same size, colour and font with the
// same kinds and numbers of controls (a tab widget with three pages, one hidden; a tree; nine lists,
// four of one line; eight group boxes; seven labels; nine buttons; two line edits with arrows; two
// radio buttons) and short texts in them, but no data, no lists filled and none of the application.
// What the application takes beyond this is its own.
#include "widgets/WindowStyle.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace {

QGroupBox* group(QWidget* parent, const char* title, QRect at) {
    auto* box = new QGroupBox(QString::fromLatin1(title), parent);
    box->setGeometry(at);
    return box;
}

QListWidget* list(QWidget* parent, QRect at, bool oneLine = false) {
    auto* view = new QListWidget(parent);
    view->setGeometry(at);
    if (oneLine) {
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    return view;
}

void label(QWidget* parent, const char* text, QPoint at) {
    auto* shown = new QLabel(QString::fromLatin1(text), parent);
    shown->move(at);
    shown->adjustSize();
}

void button(QWidget* parent, const char* text, QRect at) {
    (new QPushButton(QString::fromLatin1(text), parent))->setGeometry(at);
}

QWidget* page(QTabWidget* tabs, const char* title) {
    auto* shown = new QWidget;
    tabs->addTab(shown, QString::fromLatin1(title));
    return shown;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(799, 556);
    window.setFont(trv::MainWindowFont());
    trv::SetWindowBackground(window, QColor(64, 160, 208));

    auto* tabs = new QTabWidget(&window);
    tabs->setGeometry(8, 8, 505, 537);
    tabs->setTabPosition(QTabWidget::South);
    QWidget* first = page(tabs, "First page");
    auto* tree = new QTreeWidget(group(first, "Tree", {0, 0, 289, 321}));
    tree->setGeometry(16, 16, 273, 297);
    tree->setHeaderHidden(true);
    list(group(first, "List below", {0, 320, 497, 177}), {8, 16, 481, 153});
    QGroupBox* side = group(first, "Side", {296, 0, 193, 321});
    for (int k = 0; k < 3; ++k) {
        label(side, "Line label", {8, 24 + 64 * k});
        list(side, {8, 40 + 64 * k, 177, 33}, true);
    }
    QWidget* second = page(tabs, "Second page");
    list(group(second, "Upper list", {0, 0, 497, 321}), {8, 16, 481, 297});
    list(group(second, "Lower list", {0, 320, 497, 177}), {8, 16, 481, 153});
    tabs->setTabVisible(1, false);
    list(group(page(tabs, "Third page"), "Long list", {0, 0, 497, 497}), {8, 16, 481, 473});

    QGroupBox* right = group(&window, "Right list", {520, 8, 257, 233});
    list(right, {8, 16, 241, 185});
    label(right, "Sum label:", {128, 211});
    list(right, {208, 209, 39, 20}, true);
    const char* const buttons[] = {"First button", "Second", "Third button", "Fourth", "Fifth button", "Sixth"};
    for (int k = 0; k < 6; ++k)
        button(&window, buttons[k], {520 + 136 * (k % 2), 248 + 40 * (k / 2), 121, 33});
    for (int k = 0; k < 2; ++k) {
        label(&window, k == 0 ? "One" : "Two", {656 + 72 * k, 360});
        auto* edit = new QLineEdit(QString::number(k), &window);
        edit->setGeometry(656 + 72 * k, 376, 33, 24);
        (new QToolButton(&window))->setGeometry(689 + 72 * k, 376, 15, 24);
    }
    button(&window, "Small", {522, 401, 75, 25});
    new QLabel(&window);
    QGroupBox* choice = group(&window, "Choice", {520, 432, 121, 81});
    (new QRadioButton(QStringLiteral("One choice"), choice))->setGeometry(8, 24, 105, 17);
    (new QRadioButton(QStringLiteral("Other choice"), choice))->setGeometry(8, 48, 105, 17);
    button(&window, "Seventh", {656, 440, 121, 33});
    button(&window, "Eighth", {656, 480, 121, 33});

    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return application.exec();
}
