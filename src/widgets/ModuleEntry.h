#pragma once

#include <QLibrary>
#include <QString>

namespace trv {

// The entry of a module the applications load when first needed (the error sound's player,
// printing, the treatment record): the module at path (without its "lib" and ".so") is loaded and
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
