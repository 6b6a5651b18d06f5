#include "widgets/TreatmentRecord.h"

#include <QCoreApplication>
#include <QLibrary>

namespace trv {

std::unique_ptr<TreatmentRecord> OpenTreatmentRecord(const QString& moduleFolder, const QString& path, QString* error) {
    // The module stays loaded: the record's objects and the windows it makes need its code.
    QLibrary library(moduleFolder + QStringLiteral("/trvrecordmodule"));
    const auto open = reinterpret_cast<OpenTreatmentRecordFunction>(library.resolve(OpenTreatmentRecordEntry));
    if (open == nullptr) {
        if (error != nullptr)
            *error = QCoreApplication::translate("trv::TreatmentRecord", "The treatment record can't be kept: %1")
                         .arg(library.errorString());
        return nullptr;
    }
    return std::unique_ptr<TreatmentRecord>(open(path));
}

} // namespace trv
