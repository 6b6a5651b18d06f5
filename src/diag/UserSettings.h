#pragma once

#include <QtCore/QSettings>

#include <memory>

namespace trv {

// The user's own settings of the application ($XDG_CONFIG_HOME/trv/trv.conf), apart from the data
// folder's trv.cff, which keeps its format.
inline std::unique_ptr<QSettings> UserSettings() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("trv"),
                                       QStringLiteral("trv"));
}

} // namespace trv
