#pragma once

#include "data/Log.h"

#include <QtCore/QLoggingCategory>

namespace trv {

// The toolkit's logging categories, one per layer; warnings and above are on by default, the rest
// through QT_LOGGING_RULES (e.g. "trv.link.debug=true") or Record Device Traffic.
Q_DECLARE_LOGGING_CATEGORY(LinkLog)    // trv.link: every request and reply in hex, with its timing
Q_DECLARE_LOGGING_CATEGORY(StepsLog)   // trv.steps: the download and status steps
Q_DECLARE_LOGGING_CATEGORY(DataLog)    // trv.data: the data folder's files
Q_DECLARE_LOGGING_CATEGORY(WindowsLog) // trv.windows: what the windows do

// The toolkit's category for a core category.
const QLoggingCategory& CategoryOf(LogCategory category);

} // namespace trv
