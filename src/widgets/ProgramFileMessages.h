#pragma once

#include "program/ProgramFile.h"

#include <QCoreApplication>
#include <QString>

namespace trv {

// The texts of a program file's problems and notices, through the translation.
class ProgramFileMessages {
    Q_DECLARE_TR_FUNCTIONS(ProgramFileMessages)
public:
    static QString text(const ProgramFileIssue& issue, const QString& file);
};

// The text of a program file's problem or notice, through the translation; file is the path as
// the user gave it. In English the same words as trv-check prints.
QString ProgramFileMessage(const ProgramFileIssue& issue, const QString& file);

} // namespace trv
