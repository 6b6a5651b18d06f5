#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

namespace trv {

// The application's log: every message of the toolkit's logging (qDebug, qCWarning, ...) and of
// the core's TRV_LOG goes to trv.log in the user's state folder ($XDG_STATE_HOME/trv, by default
// ~/.local/state/trv), rotated at about 1 MB with three older files kept (trv.log.1 .. .3), and
// to standard error when that is a terminal. Writing never stops the program: a line that can't be
// written is dropped.
class ApplicationLog {
public:
    static constexpr int RecentLineCount = 200;

    // Installs the message handler and the core's sink, and applies Record Device Traffic as the
    // settings keep it. Call once, early in main, before the first thread that logs is started.
    static void install();
    // Restores the handler in place before install() and removes the core's sink (tests).
    static void uninstall();

    // Record Device Traffic: every trv category's debug lines on (device requests and replies,
    // steps, data files), kept in the user's settings until turned off. QT_LOGGING_RULES still
    // has the last word.
    static void setTrafficRecording(bool on);
    static bool trafficRecording();

    // The folder the log files are in, and the current file.
    static QString folder();
    static QString filePath();
    // The last lines written (at most RecentLineCount), oldest first, without their line ends.
    static QStringList recentLines();
};

} // namespace trv
