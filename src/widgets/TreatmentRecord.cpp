#include "widgets/TreatmentRecord.h"

#include "widgets/ModuleEntry.h"

#include <QCoreApplication>

namespace trv {

std::unique_ptr<TreatmentRecord> OpenTreatmentRecord(const QString& module, const QString& path, QString* error) {
    QString reason;
    const auto open = ModuleEntry<OpenTreatmentRecordFunction>(module, OpenTreatmentRecordEntry, &reason);
    if (open == nullptr) {
        if (error != nullptr)
            *error = QCoreApplication::translate("trv::TreatmentRecord", "The treatment record can't be kept: %1")
                         .arg(reason);
        return nullptr;
    }
    return std::unique_ptr<TreatmentRecord>(open(path));
}

} // namespace trv
