#include "diag/DiagnosticReport.h"

#include "diag/ApplicationLog.h"

#include <QtCore/QDateTime>
#include <QtCore/QDir>
#include <QtCore/QSysInfo>
#include <QtCore/QtGlobal>

#include <mutex>
#include <optional>
#include <utility>

namespace trv {

namespace {

std::mutex SeenMutex;
std::optional<std::pair<QString, int>> Seen;

} // namespace

void NoteDeviceSeen(const QString& version, int correctionPercentage) {
    std::lock_guard lock(SeenMutex);
    Seen = std::make_pair(version, correctionPercentage);
}

QString DeviceLastSeen() {
    std::lock_guard lock(SeenMutex);
    if (!Seen)
        return {};
    return QStringLiteral("%1, correction %2 %").arg(Seen->first).arg(Seen->second);
}

QString DataFolderPath() {
    return QDir::currentPath();
}

QString DiagnosticReport(const DiagnosticFacts& facts) {
    QString text;
    const auto line = [&text](const QString& name, const QString& value) {
        text += name + QStringLiteral(": ") + value + QLatin1Char('\n');
    };
    const QDateTime now = QDateTime::currentDateTime();
    text += QStringLiteral("trv diagnostic report, %1\n\n")
                .arg(now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate));
    line(QStringLiteral("trv"), QStringLiteral(TRV_VERSION));
    line(QStringLiteral("Qt"),
         QStringLiteral("%1 (built with %2)").arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR)));
    line(QStringLiteral("hidapi"), QStringLiteral("built with %1").arg(QStringLiteral(TRV_HIDAPI_VERSION)));
    line(QStringLiteral("Operating system"), QStringLiteral("%1 (%2 %3, %4)")
                                                 .arg(QSysInfo::prettyProductName(), QSysInfo::kernelType(),
                                                      QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture()));
    const QString seen = DeviceLastSeen();
    line(QStringLiteral("Device"), seen.isEmpty() ? QStringLiteral("not seen since the start") : seen);
    line(QStringLiteral("Data folder"), facts.dataFolder);
    line(QStringLiteral("Treatment record"), facts.recordPath.isEmpty() ? QStringLiteral("none") : facts.recordPath);
    line(QStringLiteral("Log folder"), ApplicationLog::folder());
    line(QStringLiteral("Record Device Traffic"),
         ApplicationLog::trafficRecording() ? QStringLiteral("on") : QStringLiteral("off"));

    text += QStringLiteral("\nData folder check:\n");
    text += facts.checkSummary.isEmpty() ? QStringLiteral("(not run)\n") : facts.checkSummary;
    if (!text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');

    const QStringList recent = ApplicationLog::recentLines();
    text += QStringLiteral("\nLast %1 log lines:\n").arg(recent.size());
    for (const QString& logLine : recent)
        text += logLine + QLatin1Char('\n');
    return text;
}

} // namespace trv
