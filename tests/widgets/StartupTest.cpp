#include "MainWindowFixture.h"

#include "widgets/AfterFirstPaint.h"
#include "app/StartupFilesAhead.h"
#include "widgets/FlagImage.h"

#include "app/TrvApplication.h"
#include "data/BuiltinMessages.h"
#include "data/MessageNumbers.h"
#include "logic/MainController.h"
#include "widgets/WindowStyle.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest/QTest>

#include <filesystem>
#include <optional>
#include <stdexcept>

namespace trv::test {
namespace {

TEST_F(MainWindowTest, StartsOnTheProtocolsPageWithAnEmptyControlProgram) {
    MainWindow& window = start();

    EXPECT_TRUE(errors.boxes.empty());
    EXPECT_TRUE(quits.empty());
    EXPECT_FALSE(window.startupFailed());
    EXPECT_TRUE(window.windowTitle().startsWith("Vorlix Session Protocols Ulmaro Dex 1.2 "));
    EXPECT_TRUE(window.windowTitle().endsWith(" (Temporary Version 1.4)"));
    EXPECT_EQ(window.size(), QSize(799, 556));
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(64, 160, 208));

    auto* pages = find<QTabWidget>("ProgPC");
    EXPECT_EQ(pages->currentWidget(), find<QWidget>("ProtocolTS"));
    EXPECT_EQ(pages->tabPosition(), QTabWidget::South);
    EXPECT_FALSE(pages->isTabVisible(pages->indexOf(find<QWidget>("SessionTS"))));
    EXPECT_TRUE(pages->isTabVisible(pages->indexOf(find<QWidget>("ProgTS"))));
    EXPECT_EQ(window.controller().currentPage(), 0);

    EXPECT_EQ(lines("ControlListBox"), QStringList{message("ENG", msg::EndLine)});
    EXPECT_EQ(lines("TimeList"), QStringList{"00:00"});
    for (const char* name : {"ACButton", "APButton", "AWButton", "TestButton", "StatButton", "ExitButton"})
        EXPECT_TRUE(find<QPushButton>(name)->isEnabled()) << name;
    for (const char* name : {"DelButton", "DlButton", "NewButton"})
        EXPECT_FALSE(find<QPushButton>(name)->isEnabled()) << name;
    EXPECT_TRUE(find<QRadioButton>("NumRB")->isChecked());
    EXPECT_EQ(find<QLineEdit>("EditMin")->text(), "1");
    EXPECT_EQ(find<QLineEdit>("EditSec")->text(), "0");

    EXPECT_EQ(lines("ProgListBox").size(), catalogue.programCount());
    EXPECT_EQ(find<QTreeWidget>("ProtocolTW")->topLevelItemCount(),
              static_cast<int>(window.controller().protocolFile().protocols.size()));
    EXPECT_EQ(lines("SessionLB").size(), static_cast<int>(window.controller().protocolFile().sessions.size()));
    EXPECT_TRUE(lines("ProtocolTRVLB").isEmpty());
    EXPECT_TRUE(lines("ALB").isEmpty());
}

struct StartupFailure {
    const char* name;
    const char* file;
    // The damaged file's new bytes; nullopt removes the file.
    std::optional<std::string> (*damage)(std::string bytes);
    int message;
    bool controlListShown; // the empty control program was set up before the failure
};

std::optional<std::string> Remove(std::string) {
    return std::nullopt;
}

std::optional<std::string> BreakMagic(std::string bytes) {
    bytes[0] = 'X';
    return bytes;
}

std::optional<std::string> DropFirstCharacter(std::string bytes) {
    return bytes.substr(1);
}

std::optional<std::string> ChangeVersion(std::string bytes) {
    return bytes.insert(1, "9");
}

std::optional<std::string> Truncate(std::string bytes) {
    return bytes.substr(0, 10);
}

void PrintTo(const StartupFailure& failure, std::ostream* out) {
    *out << failure.name;
}

class StartupFailureTest : public MainWindowTest, public testing::WithParamInterface<StartupFailure> {};

TEST_P(StartupFailureTest, ShowsItsMessageAndEndsTheApplication) {
    const StartupFailure& failure = GetParam();
    if (std::optional<std::string> bytes = failure.damage(readFile(failure.file)))
        writeFile(failure.file, *bytes);
    else
        removeFile(failure.file);

    MainWindow& window = start();

    ASSERT_EQ(errors.boxes.size(), 1u);
    EXPECT_EQ(errors.boxes[0].title, message("ENG", msg::ErrorTitle));
    EXPECT_EQ(errors.boxes[0].text, message("ENG", failure.message));
    EXPECT_FALSE(errors.boxes[0].text.isEmpty());
    EXPECT_EQ(errors.boxes[0].icon, ErrorDisplay::Icon::Error);
    EXPECT_TRUE(errors.boxes[0].withSound);
    EXPECT_EQ(quits, std::vector<int>{1});
    EXPECT_TRUE(window.startupFailed());

    // The sequence stopped where it failed.
    EXPECT_TRUE(lines("ProgListBox").isEmpty());
    EXPECT_EQ(find<QTreeWidget>("ProtocolTW")->topLevelItemCount(), 0);
    EXPECT_EQ(lines("ControlListBox"),
              failure.controlListShown ? QStringList{message("ENG", msg::EndLine)} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(
    EachFile, StartupFailureTest,
    testing::Values(StartupFailure{"CatalogueMissing", "trvimpr.tvb", Remove, msg::CatalogueMissing, false},
                    StartupFailure{"CatalogueMagic", "trvimpr.tvb", BreakMagic, msg::CatalogueDamaged, false},
                    StartupFailure{"NamesMissing", "ENG/trvimpr.tvn", Remove, msg::NamesMissing, true},
                    StartupFailure{"NamesFirstLine", "ENG/trvimpr.tvn", DropFirstCharacter, msg::NamesDamaged, true},
                    StartupFailure{"NamesVersion", "ENG/trvimpr.tvn", ChangeVersion, msg::NamesMismatch, true},
                    StartupFailure{"ProtocolTexts", "ENG/vorlix.spn", Remove, msg::ProtocolTextsMissing, true},
                    StartupFailure{"ProtocolFileMissing", "vorlix.spb", Remove, msg::ProtocolFileMissing, true},
                    StartupFailure{"ProtocolFileShort", "vorlix.spb", Truncate, msg::ProtocolFileDamaged, true}),
    [](const testing::TestParamInfo<StartupFailure>& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, TheSettingsLanguageIsInForceBeforeTheCatalogueIsChecked) {
    writeSettings("0\r\nNum\r\nMagyar\r\n");
    removeFile("trvimpr.tvb");
    start();

    ASSERT_EQ(errors.boxes.size(), 1u);
    EXPECT_EQ(errors.boxes[0].title, message("HUN", msg::ErrorTitle));
    EXPECT_EQ(errors.boxes[0].text, message("HUN", msg::CatalogueMissing));
    EXPECT_NE(errors.boxes[0].text, message("ENG", msg::CatalogueMissing));
}

TEST_F(MainWindowTest, AMissingFlagOfTheSettingsLanguageEndsTheStartUpBeforeTheCatalogue) {
    removeFile("ENG/flag.bmp");
    removeFile("trvimpr.tvb");
    MainWindow& window = start();

    ASSERT_EQ(errors.boxes.size(), 1u);
    EXPECT_EQ(errors.boxes[0].title, "trv");
    EXPECT_TRUE(errors.boxes[0].text.contains("flag.bmp"));
    EXPECT_FALSE(errors.boxes[0].withSound);
    EXPECT_EQ(quits, std::vector<int>{1});
    EXPECT_TRUE(window.startupFailed());
}

TEST_F(MainWindowTest, WithoutSettingsTheDesignTextsStayAndEnglishIsWrittenAtExit) {
    removeFile("trv.cff");
    start();

    EXPECT_TRUE(errors.boxes.empty());
    // No language was loaded: the end line is the built-in one.
    EXPECT_EQ(lines("ControlListBox"), QStringList{"----- End -----"});
    EXPECT_EQ(find<QPushButton>("ACButton")->text(), "<< Add to Control");
    EXPECT_FALSE(lines("ProgListBox").isEmpty());

    exitApplication();
    EXPECT_EQ(readFile("trv.cff"), "0\r\nNum\r\nEnglish\r\n");
}

// Started in the wrong folder: no settings, no texts, no catalogue. The box still says what is missing.
TEST_F(MainWindowTest, InAnEmptyFolderTheErrorBoxNamesTheMissingCatalogue) {
    for (const auto& entry : std::filesystem::directory_iterator(dir.path().toStdString()))
        std::filesystem::remove_all(entry.path());
    MainWindow& window = start();

    ASSERT_EQ(errors.boxes.size(), 1u);
    EXPECT_EQ(errors.boxes[0].title, "TRV");
    EXPECT_TRUE(errors.boxes[0].text.contains("trvimpr.tvb")) << errors.boxes[0].text.toStdString();
    EXPECT_TRUE(window.startupFailed());
}

TEST_F(MainWindowTest, AlphabeticalOrderFromTheSettingsIsShownAndWrittenBack) {
    writeSettings("7\r\nAlpha\r\nEnglish\r\n");
    start();

    EXPECT_TRUE(find<QRadioButton>("AlphaRB")->isChecked());
    EXPECT_FALSE(find<QRadioButton>("NumRB")->isChecked());
    // The names file's first program line is "75 Afternoon slump": its order is the list's order.
    const QString first = lines("ProgListBox").value(0);
    EXPECT_TRUE(first.startsWith("Afternoon slump [")) << first.toStdString();
    EXPECT_TRUE(first.endsWith("] (75)")) << first.toStdString();

    exitApplication();
    EXPECT_EQ(quits, std::vector<int>{0});
    EXPECT_EQ(link.closeCount, 1);
    EXPECT_EQ(readFile("trv.cff"), "0\r\nAlpha\r\nEnglish\r\n");
}

TEST_F(MainWindowTest, TheListOrderButtonsRefillOnlyOnAChange) {
    start();
    EXPECT_TRUE(lines("ProgListBox").value(0).startsWith("  1 "));

    click("AlphaRB");
    EXPECT_TRUE(lines("ProgListBox").value(0).endsWith("(75)"));

    click("NumRB");
    EXPECT_TRUE(lines("ProgListBox").value(0).startsWith("  1 "));
    showPage("ProgTS");
    clickLine("ProgListBox", 3);
    click("NumRB");
    // Not refilled: the selection is still there.
    EXPECT_EQ(find<QListWidget>("ProgListBox")->selectedItems().size(), 1);
    EXPECT_EQ(find<QListWidget>("ProgListBox")->currentRow(), 3);

    click("AlphaRB");
    exitApplication();
    EXPECT_EQ(readFile("trv.cff"), "0\r\nAlpha\r\nEnglish\r\n");
}

TEST_F(MainWindowTest, ClosingTheWindowClosesDownOnce) {
    writeSettings("3\r\nNum\r\nEnglish\r\n");
    start();
    form->close();
    form->close();
    EXPECT_EQ(link.closeCount, 1);
    EXPECT_EQ(readFile("trv.cff"), "3\r\nNum\r\nEnglish\r\n");
}

// The start-up as the window sees it, one step after the other.
class RecordingView : public MainView {
public:
    class Flag : public FlagPicture {
    public:
        explicit Flag(std::vector<std::string>& calls) : calls_(calls) {}
        bool loadFlag(const std::string&, const std::optional<std::string>& bytes) override {
            calls_.push_back("flag");
            return bytes.has_value();
        }

    private:
        std::vector<std::string>& calls_;
    };

    FlagPicture& flagPicture() override { return flag; }
    FlagPicture& flagCheck() override { return flag; }
    void showFlagError() override { calls.push_back("flag error"); }
    void ShowError(int message) override { calls.push_back("error " + std::to_string(message)); }
    void showStandardError(const std::string&) override { calls.push_back("standard error"); }
    void applyMainTexts(const MainWindowTexts&) override { calls.push_back("texts"); }
    void showListOrder(ListOrder) override { calls.push_back("order"); }
    void showControlProgram(const ControlProgram&) override { calls.push_back("control"); }
    void showProgramList(const std::vector<std::string>&) override { calls.push_back("programs"); }
    void showProtocolTexts(const ProtocolTexts&) override { calls.push_back("protocols"); }
    void showProtocolNode(const ProtocolNodeView&) override { calls.push_back("node"); }
    void showSessionPrograms(const std::vector<std::string>&) override { calls.push_back("session"); }
    int activePage() const override { return 2; }
    void endApplication() override { calls.push_back("end"); }

    std::vector<std::string> calls;
    Flag flag{calls};
};

class StartupOrderTest : public MainWindowTest {
protected:
    std::vector<std::string> run() {
        folder = std::make_unique<DataFolder>(dir.path().toStdString());
        control = std::make_unique<ControlProgram>(catalogue, [this](int k) { return MessageText(texts.messages, k); });
        context = std::make_unique<AppContext>(AppContext{*folder, catalogue, texts, *control, session, link});
        MainController controller(*context, view);
        started = controller.Start();
        page = controller.currentPage();
        return view.calls;
    }
    RecordingView view;
    bool started = false;
    int page = -1;
};

TEST_F(StartupOrderTest, RunsItsStepsInTheFixedOrder) {
    writeSettings("0\r\nAlpha\r\nEnglish\r\n");
    EXPECT_EQ(run(), (std::vector<std::string>{"order", "flag", "texts", "control", "protocols", "programs"}));
    EXPECT_TRUE(started);
    EXPECT_EQ(page, 2);
}

TEST_F(StartupOrderTest, StopsAtTheFirstFailure) {
    removeFile("vorlix.spb");
    removeFile("ENG/trvimpr.tvn");
    EXPECT_EQ(run(), (std::vector<std::string>{"flag", "texts", "control", "error 39", "end"}));
    EXPECT_FALSE(started);
}

TEST_F(MainWindowTest, TheWindowStartsFromTheFilesReadOnAnotherThread) {
    folder = std::make_unique<DataFolder>(dir.path().toStdString());
    control = std::make_unique<ControlProgram>(catalogue, [this](int k) { return MessageText(texts.messages, k); });
    context = std::make_unique<AppContext>(AppContext{*folder, catalogue, texts, *control, session, link});
    StartupFilesAhead ahead(*folder);
    int taken = 0;
    // Once handed over, the files are not read again: their removal goes unnoticed.
    form = std::make_unique<MainWindow>(
        *context, errors, windows, nullptr, [this](int code) { quits.push_back(code); },
        [&] {
            StartupFiles files = ahead.take();
            ++taken;
            removeFile("trvimpr.tvb");
            removeFile("vorlix.spb");
            return files;
        });
    EXPECT_EQ(taken, 1);
    EXPECT_TRUE(errors.boxes.empty());
    EXPECT_FALSE(form->startupFailed());
    EXPECT_EQ(lines("ProgListBox").size(), catalogue.programCount());
    EXPECT_GT(catalogue.programCount(), 0);
    EXPECT_GT(find<QTreeWidget>("ProtocolTW")->topLevelItemCount(), 0);
}

// Throws from its event handler, as a faulty handler of the application would.
class ThrowingObject : public QObject {
public:
    bool foreign = false;
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (foreign)
            throw 42;
        throw std::runtime_error("'x' is broken");
    }
};

TEST_F(MainWindowTest, AnExceptionFromAnEventHandlerIsShownAndTheApplicationGoesOn) {
    auto* application = qobject_cast<TrvApplication*>(QCoreApplication::instance());
    ASSERT_NE(application, nullptr);
    application->setErrorDisplay(&errors);
    ThrowingObject thrower;
    QEvent event(QEvent::User);

    QCoreApplication::sendEvent(&thrower, &event);
    thrower.foreign = true;
    QCoreApplication::sendEvent(&thrower, &event);
    application->setErrorDisplay(nullptr);

    ASSERT_EQ(errors.boxes.size(), 2u);
    EXPECT_EQ(errors.boxes[0].title, "trv");
    EXPECT_EQ(errors.boxes[0].text, "'x' is broken");
    EXPECT_FALSE(errors.boxes[0].withSound);
    EXPECT_EQ(errors.boxes[1].text, QString());
}

// Counts its paints, so a task can tell whether the window was painted before it ran.
class PaintedWindow : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

TEST(AfterFirstPaintTest, RunsOnceAfterTheFirstPaint) {
    PaintedWindow window;
    window.resize(200, 100);
    std::vector<int> paintsSeen;
    AfterFirstPaint task(window, [&] { paintsSeen.push_back(window.paints); });
    window.show();
    EXPECT_TRUE(paintsSeen.empty());

    ASSERT_TRUE(QTest::qWaitFor([&] { return !paintsSeen.empty(); }));
    window.repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(paintsSeen, std::vector<int>{1});
    EXPECT_TRUE(task.done());
}

TEST(AfterFirstPaintTest, InputBeforeThePaintFindsTheTaskDone) {
    PaintedWindow window;
    window.resize(200, 100);
    auto* button = new QPushButton(QStringLiteral("Download"), &window);
    std::vector<std::string> calls;
    QObject::connect(button, &QPushButton::clicked, [&] { calls.push_back("click"); });
    AfterFirstPaint task(window, [&] { calls.push_back("task"); });
    window.show();

    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(window.paints, 0) << "the click was meant to come before the first paint";
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, (std::vector<std::string>{"task", "click"}));
}

// The flag is read as a bitmap first; other pictures and damaged files still get the toolkit's detection.
TEST_F(MainWindowTest, FlagsDecodeAsBitmapsOrInAnyFormatTheToolkitReads) {
    const std::string bitmap = readFile("ENG/flag.bmp");
    QImage picture;
    ASSERT_TRUE(picture.loadFromData(QByteArray::fromStdString(bitmap), "BMP"));
    QByteArray png;
    QBuffer pngBuffer(&png);
    pngBuffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(picture.save(&pngBuffer, "PNG"));

    const struct {
        const char* name;
        std::string bytes;
        bool loads;
    } cases[] = {{"bitmap", bitmap, true},
                 {"png", png.toStdString(), true},
                 {"cut bitmap", bitmap.substr(0, 40), false},
                 {"text", "not a picture", false}};
    for (const auto& c : cases) {
        QString error;
        FlagDecoder decoder(error);
        EXPECT_EQ(decoder.loadFlag("ENG/flag.bmp", c.bytes), c.loads) << c.name;
        if (c.loads) {
            EXPECT_EQ(decoder.image().convertToFormat(QImage::Format_RGB32),
                      picture.convertToFormat(QImage::Format_RGB32))
                << c.name;
        } else {
            EXPECT_TRUE(error.startsWith("Cannot load the picture ")) << c.name;
            EXPECT_TRUE(error.contains("flag.bmp")) << c.name;
        }
    }
}

} // namespace
} // namespace trv::test
