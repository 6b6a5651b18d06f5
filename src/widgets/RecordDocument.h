#pragma once

#include "record/RecordStore.h"

#include <QCoreApplication>
#include <QString>

class QPagedPaintDevice;
class QTextDocument;

namespace trv {

// The entries a filter takes as a paged table for the client's file: a title line naming the
// period and the client filter, the date it was made, then one row per entry.
class RecordDocument {
    Q_DECLARE_TR_FUNCTIONS(trv::RecordDocument)

public:
    // The title line, e.g. "Treatment record, 01/03/2026 to 31/03/2026, client filter "Kovács"".
    static QString title(const RecordFilter& filter);
    // Fills a document from the record; false when the record can't be read.
    static bool build(RecordStore& store, const RecordFilter& filter, QTextDocument& document);
    // Lays the document out on the device's pages (numbered) and paints it.
    static void paint(QTextDocument& document, QPagedPaintDevice& device);
    // A PDF file; false with error set when it can't be written or the record read.
    static bool writePdf(RecordStore& store, const RecordFilter& filter, const QString& path, QString* error);
};

} // namespace trv
