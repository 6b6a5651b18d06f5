// How every window is built: the frame, then each control from its design's name, place and texts.
#include "GuiTestSupport.h"

#include "widgets/WindowBuilder.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocumentFragment>

#include <functional>

namespace trv::test {
namespace {

constexpr int Entry = 5;
constexpr int HintEntry = 6;

struct ControlCase {
    const char* what;
    std::function<QWidget*(const WindowBuilder&, QWidget*, const ControlDesign&)> make;
    std::function<QString(const QWidget&)> shown;
};

TEST(WindowBuilderTest, AControlShowsItsCaptionEntryOrElseTheDesignsText) {
    const ControlCase cases[] = {
        {"label", [](auto& b, QWidget* p, auto& d) { return b.template make<QLabel>(p, d); },
         [](const QWidget& w) { return static_cast<const QLabel&>(w).text(); }},
        {"button", [](auto& b, QWidget* p, auto& d) { return b.template make<QPushButton>(p, d); },
         [](const QWidget& w) { return static_cast<const QPushButton&>(w).text(); }},
        {"group box", [](auto& b, QWidget* p, auto& d) { return b.template make<QGroupBox>(p, d); },
         [](const QWidget& w) { return static_cast<const QGroupBox&>(w).title(); }},
        {"line edit", [](auto& b, QWidget* p, auto& d) { return b.template make<QLineEdit>(p, d); },
         [](const QWidget& w) { return static_cast<const QLineEdit&>(w).text(); }},
    };
    const ControlDesign design{"Control1", {8, 16, 97, 25}, {Entry, "Design"}, {HintEntry, "Design hint"}};
    for (const ControlCase& c : cases) {
        for (const bool filled : {false, true}) {
            CaptionTable captions;
            if (filled) {
                captions.set(Entry, "Caption");
                captions.set(HintEntry, "<b>Hint</b>");
            }
            QDialog window;
            const WindowBuilder build(window, &captions);
            QWidget* control = c.make(build, &window, design);
            SCOPED_TRACE(std::string(c.what) + (filled ? ", entry filled" : ", entry empty"));
            EXPECT_EQ(control->parent(), &window);
            EXPECT_EQ(control->objectName(), "Control1");
            EXPECT_EQ(control->geometry(), QRect(8, 16, 97, 25));
            EXPECT_EQ(c.shown(*control), filled ? "Caption" : "Design");
            // A hint from a file that looks like markup shows its characters.
            EXPECT_EQ(QTextDocumentFragment::fromHtml(control->toolTip()).toPlainText(),
                      filled ? "<b>Hint</b>" : "Design hint");
        }
    }
}

TEST(WindowBuilderTest, ALabelWithoutASizeTakesTheSizeOfItsTextAtItsPlace) {
    CaptionTable captions;
    captions.set(Entry, "A caption far longer than the design's text");
    QDialog window;
    const WindowBuilder build(window, &captions);
    build.frame({"Window1", {300, 200}, {Entry + 1, "Title"}}, DialogFont(13));
    auto* sized = build.make<QLabel>(&window, {"Label1", {40, 24, 0, 0}, {Entry, "Short"}});
    auto* fixed = build.make<QLabel>(&window, {"Label2", {40, 48, 60, 16}, {Entry, "Short"}});
    EXPECT_EQ(sized->pos(), QPoint(40, 24));
    EXPECT_EQ(sized->size(), sized->sizeHint());
    EXPECT_GT(sized->width(), 60);
    EXPECT_EQ(fixed->geometry(), QRect(40, 48, 60, 16));
    // The labels show a file's text as text.
    EXPECT_EQ(sized->textFormat(), Qt::PlainText);

    // The frame: the design's name and fixed size, the design's title while the entry is empty.
    EXPECT_EQ(window.objectName(), "Window1");
    EXPECT_EQ(window.minimumSize(), QSize(300, 200));
    EXPECT_EQ(window.maximumSize(), QSize(300, 200));
    EXPECT_EQ(window.windowTitle(), "Title");
    EXPECT_EQ(window.palette().color(QPalette::Window), DesignBackground);
    EXPECT_TRUE(window.autoFillBackground());
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
}

} // namespace
} // namespace trv::test

int main(int argc, char** argv) {
    return trv::test::RunGuiTests(argc, argv);
}
