// The printing module (see widgets/PagePrinting.h).
#include "widgets/PagePrinting.h"

#include <QPrintDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT bool trvPrintPages(QWidget* parent, const QString& documentName,
                                            const trv::PaintPages& paint) {
    QPrinter printer;
    printer.setDocName(documentName);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    paint(printer);
    return true;
}
