#include "diag/ApplicationLog.h"

#include "diag/LogCategories.h"
#include "diag/RotatingLogFile.h"
#include "diag/UserSettings.h"

#include <QtCore/QDateTime>
#include <QtCore/QDir>
#include <QtCore/QFile>

#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unistd.h>

namespace trv {

namespace {

const QString TrafficKey = QStringLiteral("diagnostics/recordDeviceTraffic");
const QString TrafficRules = QStringLiteral("trv.*.debug=true");

struct LogState {
    std::mutex mutex;
    std::unique_ptr<RotatingLogFile> file;
    std::deque<std::string> recent;
    bool toTerminal = false;
    bool installed = false;
    QtMessageHandler previousHandler = nullptr;
    QLoggingCategory::CategoryFilter previousFilter = nullptr;
};

LogState& State() {
    static LogState state;
    return state;
}

QString StateFolder() {
    // The toolkit has no location for state files; this is where the desktop's convention puts them.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/trv");
}

char LevelLetter(QtMsgType type) {
    switch (type) {
    case QtDebugMsg:
        return 'D';
    case QtInfoMsg:
        return 'I';
    case QtWarningMsg:
        return 'W';
    case QtCriticalMsg:
        return 'C';
    case QtFatalMsg:
        break;
    }
    return 'F';
}

// "2026-03-01 14:02:03.117 W trv.link: text [DeviceLink.cpp:61]"; the place only for warnings and
// worse, where it says where to look.
std::string FormatLine(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    std::string line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toStdString();
    line += ' ';
    line += LevelLetter(type);
    line += ' ';
    line += context.category != nullptr ? context.category : "default";
    line += ": ";
    line += text.toStdString();
    if (type != QtDebugMsg && type != QtInfoMsg && context.file != nullptr && context.line > 0) {
        const char* slash = std::strrchr(context.file, '/');
        line += " [";
        line += slash != nullptr ? slash + 1 : context.file;
        line += ':';
        line += std::to_string(context.line);
        line += ']';
    }
    for (char& c : line)
        c = c == '\n' ? ' ' : c; // one message, one line
    line += '\n';
    return line;
}

void Handler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    const std::string line = FormatLine(type, context, text);
    LogState& state = State();
    std::lock_guard lock(state.mutex);
    if (state.file)
        state.file->append(line);
    if (state.toTerminal) {
        // Best effort, like the file: a closed terminal loses the line.
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, line.data(), line.size());
    }
    state.recent.push_back(line.substr(0, line.size() - 1));
    if (state.recent.size() > static_cast<size_t>(ApplicationLog::RecentLineCount))
        state.recent.pop_front();
}

// The logger's stream of each level, in the order of LogLevel.
using LevelStream = QDebug (QMessageLogger::*)(const QLoggingCategory&) const;
const LevelStream LevelStreams[LogLevelCount] = {&QMessageLogger::debug, &QMessageLogger::info,
                                                 &QMessageLogger::warning, &QMessageLogger::critical};

// The core's lines, through the toolkit's category of the same layer.
void CoreSink(LogCategory category, LogLevel level, const char* file, int line, std::string_view text) {
    const QLoggingCategory& qtCategory = CategoryOf(category);
    const QMessageLogger logger(file, line, nullptr, qtCategory.categoryName());
    const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    (logger.*LevelStreams[static_cast<size_t>(level)])(qtCategory).noquote() << message;
}

// Keeps the core's enabled flags in step with the toolkit's, whatever set the rules.
void Filter(QLoggingCategory* category) {
    LogState& state = State();
    if (state.previousFilter)
        state.previousFilter(category);
    for (int k = 0; k < LogCategoryCount; ++k) {
        const auto core = static_cast<LogCategory>(k);
        if (std::strcmp(category->categoryName(), CategoryOf(core).categoryName()) != 0)
            continue;
        SetLogEnabled(core, LogLevel::Debug, category->isDebugEnabled());
        SetLogEnabled(core, LogLevel::Info, category->isInfoEnabled());
        SetLogEnabled(core, LogLevel::Warning, category->isWarningEnabled());
        SetLogEnabled(core, LogLevel::Critical, category->isCriticalEnabled());
    }
}

void ApplyTrafficRules(bool on) {
    QLoggingCategory::setFilterRules(on ? TrafficRules : QString());
}

} // namespace

void ApplicationLog::install() {
    LogState& state = State();
    {
        std::lock_guard lock(state.mutex);
        if (state.installed)
            return;
        const QString folder = StateFolder();
        // Owner only: device traffic and paths are nobody else's business. A failure here leaves a
        // log that drops its lines.
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        state.file =
            std::make_unique<RotatingLogFile>(QFile::encodeName(folder + QStringLiteral("/trv.log")).toStdString());
        state.toTerminal = ::isatty(STDERR_FILENO) == 1;
        state.installed = true;
    }
    SetLogSink(&CoreSink);
    state.previousHandler = qInstallMessageHandler(&Handler);
    // The categories exist before the filter goes in, so it sets the core's flags for each of them.
    for (int k = 0; k < LogCategoryCount; ++k)
        CategoryOf(static_cast<LogCategory>(k));
    state.previousFilter = QLoggingCategory::installFilter(&Filter);
    ApplyTrafficRules(trafficRecording());
}

void ApplicationLog::uninstall() {
    LogState& state = State();
    if (!state.installed)
        return;
    QLoggingCategory::setFilterRules(QString());
    QLoggingCategory::installFilter(state.previousFilter);
    qInstallMessageHandler(state.previousHandler);
    SetLogSink(nullptr);
    std::lock_guard lock(state.mutex);
    state.file.reset();
    state.recent.clear();
    state.installed = false;
}

void ApplicationLog::setTrafficRecording(bool on) {
    UserSettings()->setValue(TrafficKey, on);
    ApplyTrafficRules(on);
}

bool ApplicationLog::trafficRecording() {
    return UserSettings()->value(TrafficKey, false).toBool();
}

QString ApplicationLog::folder() {
    return StateFolder();
}

QString ApplicationLog::filePath() {
    return StateFolder() + QStringLiteral("/trv.log");
}

QStringList ApplicationLog::recentLines() {
    LogState& state = State();
    std::lock_guard lock(state.mutex);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(state.recent.size()));
    for (const std::string& line : state.recent)
        lines.append(QString::fromStdString(line));
    return lines;
}

} // namespace trv
