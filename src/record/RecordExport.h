#pragma once

#include "record/RecordStore.h"

#include <QtCore/QIODevice>
#include <QtCore/QString>

namespace trv {

// The entries a filter takes, newest first, for spreadsheets and scripts. Both false, with
// error set, when the record can't be read or the output can't be written.

// CSV as spreadsheets read it: UTF-8, a header line, CR LF line ends, fields quoted where they
// hold a comma, a quote or a line break (quotes doubled), times in ISO 8601 with their offset.
bool WriteCsv(RecordStore& store, const RecordFilter& filter, QIODevice& out, QString* error = nullptr);
// One JSON document: {"schema": 2, "entries": [...]}, each entry with its items and events.
bool WriteJson(RecordStore& store, const RecordFilter& filter, QIODevice& out, QString* error = nullptr);

// One CSV field, quoted when it must be; a text a spreadsheet would take as a formula (it starts
// with =, +, -, @, a tab or a carriage return) begins with an apostrophe.
QString CsvField(const QString& text);

} // namespace trv
