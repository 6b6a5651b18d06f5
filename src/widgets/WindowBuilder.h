#pragma once

#include "data/TextTables.h"
#include "widgets/WindowStyle.h"

#include <QColor>
#include <QFont>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include <utility>

namespace trv {

// The caption-table entry of a text no language changes.
inline constexpr int NoCaption = -1;

// A text as the design gives it: the caption-table entry that fills it in the language in use, and
// the design's text, shown while no caption file has filled the entry (or always, for NoCaption).
struct DesignText {
    int entry = NoCaption;
    const char* design = nullptr;
};

// One control as the design has it: its object name, its place in its parent, its text and its hint.
// A place with an empty size puts a label at the place's top-left, sized to its text, and leaves any
// other control to its parent (a tab page, whose text goes to its tab).
struct ControlDesign {
    const char* name;
    QRect place;
    DesignText text = {};
    DesignText hint = {};
};

// A window as the design has it: its object name, its fixed client size and its title.
struct WindowDesign {
    const char* name;
    QSize size;
    DesignText title = {};
};

// Every window is built this one way: the frame first, then each control from the window's own table
// of control designs, its texts taken from the language's caption table in the design's order.
class WindowBuilder {
public:
    // captions: null for a window whose texts are the design's whatever the language.
    WindowBuilder(QWidget& window, const CaptionTable* captions) : window_(window), captions_(captions) {}

    // The window's object name, fixed client size, font, background and title, without a context-help button.
    void frame(const WindowDesign& design, const QFont& font, const QColor& background = DesignBackground) const;

    // A control of type Control in parent (null for a tab page, which its tab widget takes), with the
    // design's object name, place, text and hint; args go to Control's constructor before the parent.
    template <typename Control, typename... Args>
    Control* make(QWidget* parent, const ControlDesign& design, Args&&... args) const {
        auto* control = new Control(std::forward<Args>(args)..., parent);
        apply(*control, design);
        return control;
    }

    // A dialog's push button as make() makes it, its click calling clicked; it never
    // becomes the dialog's default button on taking the focus (auto-default off).
    template <typename Click> QPushButton* button(QWidget* parent, const ControlDesign& design, Click clicked) const {
        auto* button = make<QPushButton>(parent, design);
        button->setAutoDefault(false);
        QObject::connect(button, &QPushButton::clicked, button, std::move(clicked));
        return button;
    }

    // A design text in the language in use.
    QString text(const DesignText& text) const;

private:
    void apply(QWidget& control, const ControlDesign& design) const;

    QWidget& window_;
    const CaptionTable* captions_;
};

// Shows a caption the way the control shows one: a group box's title, a button's or a line edit's text,
// a label's text (the label takes the text's size). A tab page's caption is its tab's, which the tab
// widget shows.
void ShowCaption(QWidget& control, const QString& text);

} // namespace trv
