#include "diag/LogCategories.h"

namespace trv {

Q_LOGGING_CATEGORY(LinkLog, "trv.link", QtWarningMsg)
Q_LOGGING_CATEGORY(StepsLog, "trv.steps", QtWarningMsg)
Q_LOGGING_CATEGORY(DataLog, "trv.data", QtWarningMsg)
Q_LOGGING_CATEGORY(WindowsLog, "trv.windows", QtWarningMsg)

const QLoggingCategory& CategoryOf(LogCategory category) {
    switch (category) {
    case LogCategory::Link:
        return LinkLog();
    case LogCategory::Steps:
        return StepsLog();
    case LogCategory::Data:
        return DataLog();
    case LogCategory::Windows:
        break;
    }
    return WindowsLog();
}

} // namespace trv
