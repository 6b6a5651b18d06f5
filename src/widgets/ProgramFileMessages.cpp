#include "widgets/ProgramFileMessages.h"

namespace trv {

namespace {

QString utf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

QString ProgramFileMessage(const ProgramFileIssue& issue, const QString& file) {
    return ProgramFileMessages::text(issue, file);
}

QString ProgramFileMessages::text(const ProgramFileIssue& issue, const QString& file) {
    const QString item = QString::number(issue.item);
    const QString value = QString::number(issue.value);
    switch (issue.kind) {
    case ProgramFileIssueKind::Unreadable:
        return tr("%1 can't be read: %2.").arg(file, utf8(issue.detail));
    case ProgramFileIssueKind::TooLarge:
        return tr("%1 is not a control program file: it is %2 bytes long.").arg(file, value);
    case ProgramFileIssueKind::NotJson:
        return tr("%1 is not a control program file: %2.").arg(file, utf8(issue.detail));
    case ProgramFileIssueKind::NotProgramFile:
        return tr("%1 is not a control program file: its \"%2\" is missing or wrong.").arg(file, utf8(issue.detail));
    case ProgramFileIssueKind::NewerVersion:
        return tr("%1 was saved by a newer version of the application (file version %2); this version reads "
                  "version %3.")
            .arg(file, value, QString::number(ProgramFileVersion));
    case ProgramFileIssueKind::BadItem:
        return tr("%1: item %2 has a missing or wrong \"%3\".").arg(file, item, utf8(issue.detail));
    case ProgramFileIssueKind::TooManyItems:
        return tr("%1 holds %2 items; a control program takes at most %3.")
            .arg(file, value, QString::number(MaxControlItems));
    case ProgramFileIssueKind::UnknownProgram:
        return tr("%1: item %2 is program %3, which the catalogue doesn't have.").arg(file, item, value);
    case ProgramFileIssueKind::PauseOutOfRange:
        return tr("%1: item %2 is a pause of %3 minutes and %4 seconds; a pause takes 0 to 99 minutes and 0 to 59 "
                  "seconds, at least one second in all.")
            .arg(file, item, value, QString::number(issue.value2));
    case ProgramFileIssueKind::NotWritten:
        return tr("%1 could not be saved: %2. A file already there is unchanged.").arg(file, utf8(issue.detail));
    case ProgramFileIssueKind::RenamedProgram:
        return tr("%1: item %2, program %3, was saved as \"%4\"; the catalogue calls it \"%5\". The program was "
                  "taken by its number.")
            .arg(file, item, value, utf8(issue.detail), utf8(issue.detail2));
    }
    return file;
}

} // namespace trv
