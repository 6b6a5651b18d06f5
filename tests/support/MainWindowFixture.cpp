#include "MainWindowFixture.h"

#include "data/BuiltinMessages.h"
#include "data/Codepage.h"
#include "data/TextTables.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace trv::test {

void MainWindowTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    std::filesystem::copy(TRV_SAMPLE_DATA, dir.path().toStdString(), std::filesystem::copy_options::recursive);
    writeSettings("0\r\nNum\r\nEnglish\r\n");
}

void MainWindowTest::TearDown() {
    dialogs.clear();
    form.reset();
}

std::string MainWindowTest::path(const std::string& relative) const {
    return dir.path().toStdString() + "/" + relative;
}

void MainWindowTest::writeFile(const std::string& relative, const std::string& bytes) const {
    std::ofstream file(path(relative), std::ios::binary | std::ios::trunc);
    file << bytes;
    ASSERT_TRUE(file.good()) << relative;
}

std::string MainWindowTest::readFile(const std::string& relative) const {
    std::ifstream file(path(relative), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void MainWindowTest::removeFile(const std::string& relative) const {
    ASSERT_TRUE(std::filesystem::remove(path(relative))) << relative;
}

namespace {

// Text line n (1-based) of a caphint.txt or msg.txt, decoded as the main window shows it.
QString textLine(const std::string& fileBytes, int n) {
    TextLineReader file(fileBytes);
    std::string text;
    for (int k = 0; k < n; ++k)
        text = ReadTextLine(file);
    return QString::fromStdString(DecodeToUtf8(text, Codepage::CentralEuropean));
}

} // namespace

QString MainWindowTest::message(const std::string& folderCode, int k) const {
    return textLine(readFile(folderCode + "/msg.txt"), k + 1);
}

QString MainWindowTest::caption(const std::string& folderCode, int line) const {
    return textLine(readFile(folderCode + "/caphint.txt"), line);
}

MainWindow& MainWindowTest::start() {
    folder = std::make_unique<DataFolder>(dir.path().toStdString());
    control = std::make_unique<ControlProgram>(catalogue, [this](int k) { return MessageText(texts.messages, k); });
    context = std::make_unique<AppContext>(AppContext{*folder, catalogue, texts, *control, session, *deviceLink});
    form =
        std::make_unique<MainWindow>(*context, errors, windows, nullptr, [this](int code) { quits.push_back(code); });
    windows.main = form.get();
    form->show();
    return *form;
}

void MainWindowTest::exitApplication() {
    click("ExitButton");
}

QStringList MainWindowTest::lines(const char* listName) const {
    QStringList shown;
    if (const QListWidget* list = find<QListWidget>(listName)) {
        for (int row = 0; row < list->count(); ++row)
            shown << list->item(row)->text();
    }
    return shown;
}

void MainWindowTest::click(const char* buttonName) const {
    QAbstractButton* button = find<QAbstractButton>(buttonName);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

namespace {

QPoint visibleCentre(QListWidget& list, int row) {
    QListWidgetItem* item = list.item(row);
    list.scrollToItem(item);
    return list.visualItemRect(item).center();
}

QPoint visibleCentre(QTreeWidgetItem* node) {
    QTreeWidget* tree = node->treeWidget();
    tree->scrollToItem(node);
    return tree->visualItemRect(node).center();
}

} // namespace

void MainWindowTest::clickLine(const char* listName, int row) const {
    QListWidget* list = find<QListWidget>(listName);
    ASSERT_TRUE(list != nullptr && row < list->count()) << listName << " " << row;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, visibleCentre(*list, row));
}

void MainWindowTest::doubleClickLine(const char* listName, int row) const {
    QListWidget* list = find<QListWidget>(listName);
    ASSERT_TRUE(list != nullptr && row < list->count()) << listName << " " << row;
    const QPoint at = visibleCentre(*list, row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

QTreeWidgetItem* MainWindowTest::treeNode(int protocolRow, int itemRow) const {
    QTreeWidget* tree = find<QTreeWidget>("ProtocolTW");
    QTreeWidgetItem* protocol = tree->topLevelItem(protocolRow);
    if (protocol == nullptr || itemRow < 0)
        return protocol;
    tree->expandItem(protocol);
    return protocol->child(itemRow);
}

void MainWindowTest::clickNode(QTreeWidgetItem* node) const {
    ASSERT_NE(node, nullptr);
    QTest::mouseClick(node->treeWidget()->viewport(), Qt::LeftButton, {}, visibleCentre(node));
}

void MainWindowTest::doubleClickNode(QTreeWidgetItem* node) const {
    ASSERT_NE(node, nullptr);
    const QPoint at = visibleCentre(node);
    QTest::mouseClick(node->treeWidget()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(node->treeWidget()->viewport(), Qt::LeftButton, {}, at);
}

void MainWindowTest::showPage(const char* pageName) const {
    QTabWidget* pages = find<QTabWidget>("ProgPC");
    pages->setCurrentWidget(find<QWidget>(pageName));
}

void MainWindowTest::onNextModal(std::function<void(QDialog&)> action, const QWidget* only) {
    auto* poll = new QTimer;
    poll->setInterval(1);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action, only] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible() || (only != nullptr && dialog != only))
            return;
        poll->stop();
        poll->deleteLater();
        action(*dialog);
    });
    poll->start();
}

void MainWindowTest::chooseLanguage(const QString& name, bool confirm) {
    onNextModal([name, confirm](QDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("LanguageBox"))->setEditText(name);
        dialog.findChild<QPushButton*>(confirm ? QStringLiteral("OKButton") : QStringLiteral("CancelButton"))->click();
    });
    QTest::mouseClick(find<QWidget>("FlagImage"), Qt::LeftButton, {}, QPoint(5, 5));
}

} // namespace trv::test
