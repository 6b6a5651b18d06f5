// The Treatment Record window over a record file: newest first, the search, the client written
// back, an erasure only after the question, and the exports of what the filters take.
#include "widgets/TreatmentRecordWindow.h"
#include "GuiTestSupport.h"
#include "record/RecordStore.h"
#include "widgets/RecordTableModel.h"
#include "widgets/TreatmentRecord.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace trv {
namespace {

struct RecordWindowTest : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("record/treatment-record.sqlite"));
    qint64 march = 0, april = 0, may = 0;

    void SetUp() override {
        RecordStore store;
        ASSERT_TRUE(store.open(path).ok);
        auto at = [](int month) {
            const QDateTime when(QDate(2026, month, 10), QTime(10, 0));
            return RecordTime{when.toMSecsSinceEpoch(), when.offsetFromUtc()};
        };
        march = store.beginEntry(at(3), EntryKind::Download, 0, {{SentItem::Kind::Program, 12, "Alpha", 600}});
        april = store.beginEntry(at(4), EntryKind::Download, 0, {{SentItem::Kind::Program, 5, "Beta", 300}});
        may = store.beginEntry(at(5), EntryKind::SelfTest, 0, {{SentItem::Kind::Program, 21, "", 10}});
        store.endEntry(april, at(4), {DownloadEnd::Started, 1, -1, ""});
        store.setClient(march, QStringLiteral("Kovács Éva"));
        store.setClient(april, QStringLiteral("Kovács Éva"));
    }
    int entriesLeft() {
        RecordStore store;
        EXPECT_TRUE(store.open(path, RecordStore::Mode::ReadOnly).ok);
        return store.countEntries({});
    }
};

TEST_F(RecordWindowTest, ListsSearchesEditsErasesAndExports) {
    TreatmentRecordWindow window(path);
    ASSERT_TRUE(window.openError().isEmpty()) << window.openError().toStdString();
    EXPECT_EQ(window.objectName(), QStringLiteral("TreatmentRecord"));
    window.show();
    RecordTableModel& model = window.model();
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.entryId(0), may);
    EXPECT_EQ(model.entryId(2), march);
    EXPECT_EQ(model.index(1, RecordTableModel::Programs).data().toString(), QStringLiteral("Beta (5)"));
    EXPECT_EQ(model.index(1, RecordTableModel::TotalTime).data().toString(), QStringLiteral("0:05:00"));
    // The newest entry is shown in full below the list.
    EXPECT_TRUE(window.findChild<QTextBrowser*>(QStringLiteral("RecordEntry"))
                    ->toPlainText()
                    .contains(QStringLiteral("Program 21")));

    // The client typed for the self-test is written back to the record.
    auto* client = window.findChild<QLineEdit*>(QStringLiteral("RecordClient"));
    client->setFocus();
    QTest::keyClicks(client, QStringLiteral("Nagy, Anna"));
    QTest::keyClick(client, Qt::Key_Return);
    {
        RecordStore store;
        ASSERT_TRUE(store.open(path, RecordStore::Mode::ReadOnly).ok);
        EXPECT_EQ(store.entry(may)->client, QStringLiteral("Nagy, Anna"));
    }

    auto* search = window.findChild<QLineEdit*>(QStringLiteral("RecordSearch"));
    search->setText(QStringLiteral("Kovács"));
    window.applyFilter(); // as the typing pause does
    ASSERT_EQ(model.rowCount(), 2);

    // The CSV and the PDF take what the search takes.
    const QString csvPath = dir.filePath(QStringLiteral("out.csv"));
    const QString pdfPath = dir.filePath(QStringLiteral("out.pdf"));
    window.chooseFile = [&](const QString&, const QString& suggested, const QString&) {
        return suggested.endsWith(QLatin1String(".csv")) ? csvPath : pdfPath;
    };
    window.exportCsv();
    window.exportPdf();
    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("\r\n"), 3); // the header and two entries
    QFile pdf(pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF-"));

    // Erasing asks first: a no keeps everything, a yes erases only what the filters take.
    std::vector<QString> questions;
    bool answer = false;
    window.confirm = [&](const QString& question) {
        questions.push_back(question);
        return answer;
    };
    window.deletePeriod();
    EXPECT_EQ(entriesLeft(), 3);
    answer = true;
    window.deletePeriod();
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_TRUE(questions[1].contains(QStringLiteral("Kovács")));
    EXPECT_EQ(entriesLeft(), 1);
    EXPECT_EQ(model.rowCount(), 0);
    search->clear();
    window.applyFilter();
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.entryId(0), may);
}

// The module the applications take the record from, with copies of its own of the code it shares
// with them: its writer takes what the step machines report and its window shows it.
TEST(TreatmentRecordModuleTest, WritesWhatItIsToldAndItsWindowShowsIt) {
    QTemporaryDir dir;
    QString error;
    EXPECT_EQ(OpenTreatmentRecord(dir.filePath("trvrecordmodule"), dir.filePath("r.sqlite"), &error), nullptr);
    EXPECT_TRUE(error.startsWith("The treatment record can't be kept: ")) << error.toStdString();

    const auto record =
        OpenTreatmentRecord(TRV_MODULE_DIR "/trvrecordmodule", dir.filePath("record/r.sqlite"), &error);
    ASSERT_NE(record, nullptr) << error.toStdString();
    EXPECT_EQ(record->openMessage(), QString());
    const std::shared_ptr<SessionEventSink> sink = record->sink();
    sink->downloadBegan({false, false, 0, {{SentItem::Kind::Program, 12, "Alpha", 600}}});
    sink->downloadEnded({DownloadEnd::Started, 1, -1, ""});

    const std::unique_ptr<QWidget> window(record->createWindow(nullptr));
    // The window's classes are the module's copies, so it is read through the toolkit's.
    auto* list = window->findChild<QTableView*>(QStringLiteral("RecordList"));
    ASSERT_NE(list, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() == 1; }));
    EXPECT_EQ(list->model()->index(0, RecordTableModel::Programs).data().toString(), QStringLiteral("Alpha (12)"));
}

} // namespace
} // namespace trv

int main(int argc, char** argv) {
    return trv::test::RunGuiTests(argc, argv);
}
