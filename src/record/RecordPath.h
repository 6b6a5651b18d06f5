#pragma once

#include <QtCore/QStandardPaths>
#include <QtCore/QString>

namespace trv {

// The record file of the application, or of the demo, under the user's data folder
// ($XDG_DATA_HOME/trv-record/); the folder is not created here. Apart from the store, so the
// applications name the file without linking the database code, which their record module loads.
inline QString TreatmentRecordPath(bool demo) {
    // Beside the data folder, not in it: the installed data folder is $XDG_DATA_HOME/trv, which a
    // user may remove to start over from the sample data, and a client's record must not go with
    // it. The same folder for every program name, so trv-record finds what trv wrote.
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base + QStringLiteral("/trv-record/") +
           (demo ? QStringLiteral("demo-record.sqlite") : QStringLiteral("treatment-record.sqlite"));
}

} // namespace trv
