#pragma once

#include <QCoreApplication>
#include <QLibrary>
#include <QString>

namespace trv {

// Where a module the applications load when first needed lives: next to them, by its name without
// its "lib" and ".so" ("trvsound", "trvprint", "trvrecordmodule").
inline QString ModulePath(const char* name) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
}

// The entry of a module: the module at path (ModulePath, or another folder's for tests) is loaded and
// stays loaded, since what it makes needs its code for as long as the process runs. nullptr, with
// error set to the loader's reason when given, when the module or its entry can't be found.
template <typename Function> Function ModuleEntry(const QString& path, const char* entry, QString* error = nullptr) {
    QLibrary library(path);
    const auto function = reinterpret_cast<Function>(library.resolve(entry));
    if (function == nullptr && error != nullptr)
        *error = library.errorString();
    return function;
}

} // namespace trv
