#include "record/RecordCommand.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QFile>

#include <iostream>

int main(int argc, char** argv) {
    // The database driver is a plugin, and plugins load only with an application object.
    QCoreApplication app(argc, argv);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        std::cerr << "trv-record: standard output can't be written\n";
        return trv::RecordFailed;
    }
    return trv::RunRecordCommand(app.arguments().mid(1), out, std::cerr);
}
