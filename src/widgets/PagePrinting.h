#pragma once

#include <functional>

class QPagedPaintDevice;
class QString;
class QWidget;

namespace trv {

// Printing: the print dialog, then pages painted on the printer chosen. It lives in a module of its
// own (libtrvprint.so next to the application), loaded the first time the user prints: linked into
// the application, the print support library lengthens every start-up, and most runs never print.
using PaintPages = std::function<void(QPagedPaintDevice&)>;

enum class PrintOutcome { Printed, Cancelled, Unavailable };

// Shows the print dialog over parent and paints on the printer chosen. Unavailable, with error
// set, when the module can't be loaded.
PrintOutcome PrintPages(QWidget* parent, const QString& documentName, const PaintPages& paint, QString* error);

// What the module exports under the name PrintPagesEntry.
using PrintPagesFunction = bool (*)(QWidget* parent, const QString& documentName, const PaintPages& paint);
inline constexpr const char* PrintPagesEntry = "trvPrintPages";

} // namespace trv
