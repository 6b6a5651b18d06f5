#include "widgets/PagePrinting.h"

#include "widgets/ModuleEntry.h"

#include <QString>

namespace trv {

PrintOutcome PrintPages(QWidget* parent, const QString& documentName, const PaintPages& paint, QString* error) {
    const auto print = ModuleEntry<PrintPagesFunction>(ModulePath("trvprint"), PrintPagesEntry, error);
    if (print == nullptr)
        return PrintOutcome::Unavailable;
    return print(parent, documentName, paint) ? PrintOutcome::Printed : PrintOutcome::Cancelled;
}

} // namespace trv
