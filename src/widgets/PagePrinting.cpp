#include "widgets/PagePrinting.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QString>

namespace trv {

PrintOutcome PrintPages(QWidget* parent, const QString& documentName, const PaintPages& paint, QString* error) {
    // The module stays loaded once it is: a second print needs it again.
    QLibrary library(QCoreApplication::applicationDirPath() + QStringLiteral("/trvprint"));
    const auto print = reinterpret_cast<PrintPagesFunction>(library.resolve(PrintPagesEntry));
    if (print == nullptr) {
        if (error != nullptr)
            *error = library.errorString();
        return PrintOutcome::Unavailable;
    }
    return print(parent, documentName, paint) ? PrintOutcome::Printed : PrintOutcome::Cancelled;
}

} // namespace trv
