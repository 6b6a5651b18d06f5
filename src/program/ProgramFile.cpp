#include "program/ProgramFile.h"

#include "data/ProgramFinder.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace trv {

namespace {

using Json = nlohmann::json;

ProgramFileIssue Issue(ProgramFileIssueKind kind, int item = 0, int64_t value = 0, int64_t value2 = 0,
                       std::string detail = {}, std::string detail2 = {}) {
    return ProgramFileIssue{kind, item, value, value2, std::move(detail), std::move(detail2)};
}

ProgramFileRead Problem(ProgramFileIssue issue) {
    return ProgramFileRead{std::nullopt, std::move(issue)};
}

ProgramFileRead NotProgramFile(const char* field) {
    return Problem(Issue(ProgramFileIssueKind::NotProgramFile, 0, 0, 0, field));
}

// A whole JSON number as 64 bits; numbers beyond them stay beyond every range checked here.
std::optional<int64_t> WholeNumber(const Json& value) {
    if (value.is_number_unsigned()) {
        const auto number = value.get<uint64_t>();
        return number > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) ? std::numeric_limits<int64_t>::max()
                                                                                   : static_cast<int64_t>(number);
    }
    if (value.is_number_integer())
        return value.get<int64_t>();
    return std::nullopt;
}

// An optional text member; false when it is there but no text.
bool OptionalText(const Json& object, const char* key, std::string& into) {
    const auto found = object.find(key);
    if (found == object.end())
        return true;
    if (!found->is_string())
        return false;
    into = found->get<std::string>();
    return true;
}

std::string SystemError(int error) {
    return std::strerror(error);
}

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::string Quoted(std::string_view text) {
    return Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Fills %1..%9 in one pass, so a file name holding "%2" stays as it is.
std::string Replace(std::string_view text, std::initializer_list<std::string> arguments) {
    std::string out;
    for (size_t at = 0; at < text.size(); ++at) {
        const size_t k = at + 1 < text.size() ? static_cast<size_t>(text[at + 1] - '1') : arguments.size();
        if (text[at] == '%' && k < arguments.size()) {
            out += *(arguments.begin() + k);
            ++at;
        } else {
            out += text[at];
        }
    }
    return out;
}

} // namespace

ProgramFileRead ParseProgramFile(std::string_view bytes) {
    if (bytes.size() > MaxProgramFileBytes)
        return Problem(Issue(ProgramFileIssueKind::TooLarge, 0, static_cast<int64_t>(bytes.size())));
    Json root;
    try {
        root = Json::parse(bytes);
    } catch (const Json::parse_error& error) {
        // The library's words after its own tag: "parse error at line 2, column 5: ...".
        std::string words = error.what();
        if (const size_t tag = words.find("] "); words.rfind("[json.exception", 0) == 0 && tag != std::string::npos)
            words.erase(0, tag + 2);
        return Problem(Issue(ProgramFileIssueKind::NotJson, 0, 0, 0, std::move(words)));
    }
    if (!root.is_object())
        return NotProgramFile("format");
    const auto format = root.find("format");
    if (format == root.end() || !format->is_string() || format->get<std::string>() != ProgramFileFormat)
        return NotProgramFile("format");
    const auto versionField = root.find("version");
    const std::optional<int64_t> version = versionField == root.end() ? std::nullopt : WholeNumber(*versionField);
    if (!version || *version < 1)
        return NotProgramFile("version");
    if (*version > ProgramFileVersion)
        return Problem(Issue(ProgramFileIssueKind::NewerVersion, 0, *version));

    ProgramDocument document;
    if (!OptionalText(root, "title", document.title))
        return NotProgramFile("title");
    if (!OptionalText(root, "note", document.note))
        return NotProgramFile("note");
    const auto items = root.find("items");
    if (items == root.end() || !items->is_array())
        return NotProgramFile("items");
    if (items->size() > static_cast<size_t>(MaxControlItems))
        return Problem(Issue(ProgramFileIssueKind::TooManyItems, 0, static_cast<int64_t>(items->size())));

    int position = 0;
    for (const Json& entry : *items) {
        ++position;
        const auto bad = [position](const char* field) {
            return Problem(Issue(ProgramFileIssueKind::BadItem, position, 0, 0, field));
        };
        if (!entry.is_object())
            return bad("type");
        const auto type = entry.find("type");
        if (type == entry.end() || !type->is_string())
            return bad("type");
        ProgramFileItem item;
        const std::string& kind = type->get_ref<const std::string&>();
        if (kind == "program") {
            item.kind = ProgramFileItem::Kind::Program;
            const auto number = entry.find("number");
            const std::optional<int64_t> value = number == entry.end() ? std::nullopt : WholeNumber(*number);
            if (!value)
                return bad("number");
            item.number = *value;
            if (!OptionalText(entry, "name", item.name))
                return bad("name");
        } else if (kind == "pause") {
            item.kind = ProgramFileItem::Kind::Pause;
            const auto minutesField = entry.find("minutes");
            const auto secondsField = entry.find("seconds");
            // Either may be left out for none, as in {"type": "pause", "seconds": 30}.
            const std::optional<int64_t> minutes =
                minutesField == entry.end() ? std::optional<int64_t>(0) : WholeNumber(*minutesField);
            const std::optional<int64_t> seconds =
                secondsField == entry.end() ? std::optional<int64_t>(0) : WholeNumber(*secondsField);
            if (!minutes)
                return bad("minutes");
            if (!seconds)
                return bad("seconds");
            // "Add Pause" takes 0..99 minutes and 0..59 seconds and adds nothing for 0:00.
            if (*minutes < 0 || *minutes > MaxPauseMinutes || *seconds < 0 || *seconds > MaxPauseSeconds ||
                (*minutes == 0 && *seconds == 0))
                return Problem(Issue(ProgramFileIssueKind::PauseOutOfRange, position, *minutes, *seconds));
            item.minutes = static_cast<int>(*minutes);
            item.seconds = static_cast<int>(*seconds);
        } else if (kind == "wait") {
            item.kind = ProgramFileItem::Kind::Wait;
        } else {
            return bad("type");
        }
        document.items.push_back(std::move(item));
    }
    return ProgramFileRead{std::move(document), std::nullopt};
}

ProgramFileRead ReadProgramFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Problem(Issue(ProgramFileIssueKind::Unreadable, 0, 0, 0, SystemError(errno)));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Problem(Issue(ProgramFileIssueKind::Unreadable, 0, 0, 0, SystemError(errno)));
    if (S_ISDIR(info.st_mode))
        return Problem(Issue(ProgramFileIssueKind::Unreadable, 0, 0, 0, SystemError(EISDIR)));
    if (S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_size) > MaxProgramFileBytes)
        return Problem(Issue(ProgramFileIssueKind::TooLarge, 0, static_cast<int64_t>(info.st_size)));
    // Read up to one byte past the limit, so a pipe or a growing file is measured too.
    std::string bytes;
    char buffer[16384];
    while (bytes.size() <= MaxProgramFileBytes) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Problem(Issue(ProgramFileIssueKind::Unreadable, 0, 0, 0, SystemError(errno)));
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(got));
    }
    return ParseProgramFile(bytes);
}

ProgramDocumentCheck CheckProgramDocument(const ProgramDocument& document, const ProgramCatalogue& catalogue,
                                          Codepage page) {
    ProgramDocumentCheck check;
    int position = 0;
    for (const ProgramFileItem& item : document.items) {
        ++position;
        if (item.kind != ProgramFileItem::Kind::Program)
            continue;
        if (item.number < 1 || item.number > catalogue.programCount()) {
            check.problem = Issue(ProgramFileIssueKind::UnknownProgram, position, item.number);
            check.notices.clear();
            return check;
        }
        const std::string current = DecodeToUtf8(CatalogueProgramName(catalogue, static_cast<int>(item.number)), page);
        if (!item.name.empty() && Trimmed(item.name) != Trimmed(current))
            check.notices.push_back(
                Issue(ProgramFileIssueKind::RenamedProgram, position, item.number, 0, item.name, current));
    }
    return check;
}

ProgramDocument DocumentOfControlProgram(const ControlProgram& control, const ProgramCatalogue& catalogue,
                                         Codepage page) {
    ProgramDocument document;
    for (const ControlEntry& entry : control.items()) {
        ProgramFileItem item;
        if (entry.kind == KindProgram) {
            item.kind = ProgramFileItem::Kind::Program;
            item.number = static_cast<int64_t>(entry.value) + 1;
            item.name = DecodeToUtf8(CatalogueProgramName(catalogue, entry.value + 1), page);
        } else if (entry.kind == KindWait) {
            item.kind = ProgramFileItem::Kind::Wait;
        } else {
            item.kind = ProgramFileItem::Kind::Pause;
            item.minutes = entry.kind;
            item.seconds = entry.value;
        }
        document.items.push_back(std::move(item));
    }
    return document;
}

bool LoadProgramDocument(const ProgramDocument& document, ControlProgram& control) {
    if (document.items.size() > static_cast<size_t>(MaxControlItems))
        return false;
    ControlProgram::Snapshot snapshot;
    int32_t slot = 0;
    for (const ProgramFileItem& item : document.items) {
        ControlEntry& entry = snapshot.entries[static_cast<size_t>(slot++)];
        switch (item.kind) {
        case ProgramFileItem::Kind::Program:
            if (item.number < 1 || item.number > std::numeric_limits<int32_t>::max())
                return false;
            entry = ControlEntry{KindProgram, static_cast<int32_t>(item.number - 1)};
            break;
        case ProgramFileItem::Kind::Pause:
            if (item.minutes < 0 || item.minutes > MaxPauseMinutes || item.seconds < 0 ||
                item.seconds > MaxPauseSeconds)
                return false;
            entry = ControlEntry{item.minutes, item.seconds};
            break;
        case ProgramFileItem::Kind::Wait:
            entry = ControlEntry{KindWait, 0};
            break;
        }
    }
    snapshot.entries[static_cast<size_t>(slot)] = ControlEntry{};
    snapshot.count = slot + 1;
    snapshot.selected = slot;
    control.Restore(snapshot);
    return true;
}

ProgramFileOpened OpenProgramFile(const std::string& path, const ProgramCatalogue& catalogue, ControlProgram& control,
                                  Codepage page) {
    ProgramFileOpened opened;
    ProgramFileRead read = ReadProgramFile(path);
    if (!read.document) {
        opened.problem = std::move(read.problem);
        return opened;
    }
    ProgramDocumentCheck check = CheckProgramDocument(*read.document, catalogue, page);
    if (check.problem) {
        opened.problem = std::move(check.problem);
        return opened;
    }
    LoadProgramDocument(*read.document, control);
    opened.notices = std::move(check.notices);
    opened.title = std::move(read.document->title);
    opened.note = std::move(read.document->note);
    return opened;
}

std::string ProgramFileText(const ProgramDocument& document) {
    std::string text = "{\n";
    text += "  \"format\": " + Quoted(ProgramFileFormat) + ",\n";
    text += "  \"version\": " + std::to_string(ProgramFileVersion) + ",\n";
    if (!document.title.empty())
        text += "  \"title\": " + Quoted(document.title) + ",\n";
    if (!document.note.empty())
        text += "  \"note\": " + Quoted(document.note) + ",\n";
    text += "  \"items\": [";
    const char* separator = "\n";
    for (const ProgramFileItem& item : document.items) {
        text += separator;
        separator = ",\n";
        switch (item.kind) {
        case ProgramFileItem::Kind::Program:
            text += "    {\"type\": \"program\", \"number\": " + std::to_string(item.number) +
                    ", \"name\": " + Quoted(item.name) + "}";
            break;
        case ProgramFileItem::Kind::Pause:
            text += "    {\"type\": \"pause\", \"minutes\": " + std::to_string(item.minutes) +
                    ", \"seconds\": " + std::to_string(item.seconds) + "}";
            break;
        case ProgramFileItem::Kind::Wait:
            text += "    {\"type\": \"wait\"}";
            break;
        }
    }
    text += document.items.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return text;
}

std::optional<ProgramFileIssue> WriteProgramFile(const std::string& path, const ProgramDocument& document) {
    const auto failed = [](int error) { return Issue(ProgramFileIssueKind::NotWritten, 0, 0, 0, SystemError(error)); };
    const std::filesystem::path target(path);
    if (target.filename().empty())
        return failed(EISDIR);
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";

    // The new file takes the old one's permissions; a new one gets the user's default (umask).
    struct stat existing {};
    const bool replacing = ::stat(path.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode))
        return failed(EISDIR);

    std::random_device seed;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = (folder / ("." + target.filename().string() + "." + std::to_string(seed()) + ".tmp")).string();
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return failed(errno);
    }
    if (fd < 0)
        return failed(EEXIST);

    const std::string text = ProgramFileText(document);
    int error = 0;
    for (size_t written = 0; error == 0 && written < text.size();) {
        const ssize_t put = ::write(fd, text.data() + written, text.size() - written);
        if (put < 0 && errno != EINTR)
            error = errno;
        else if (put > 0)
            written += static_cast<size_t>(put);
    }
    if (error == 0 && replacing && ::fchmod(fd, existing.st_mode & 07777) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return failed(error);
    }
    // The rename itself reaches the disk with the folder; a failure here loses nothing written.
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

std::string DescribeProgramFileIssue(const ProgramFileIssue& issue, std::string_view file) {
    const std::string name(file);
    const std::string item = std::to_string(issue.item);
    const std::string value = std::to_string(issue.value);
    switch (issue.kind) {
    case ProgramFileIssueKind::Unreadable:
        return Replace("%1 can't be read: %2.", {name, issue.detail});
    case ProgramFileIssueKind::TooLarge:
        return Replace("%1 is not a control program file: it is %2 bytes long.", {name, value});
    case ProgramFileIssueKind::NotJson:
        return Replace("%1 is not a control program file: %2.", {name, issue.detail});
    case ProgramFileIssueKind::NotProgramFile:
        return Replace("%1 is not a control program file: its \"%2\" is missing or wrong.", {name, issue.detail});
    case ProgramFileIssueKind::NewerVersion:
        return Replace("%1 was saved by a newer version of the application (file version %2); this version "
                       "reads version %3.",
                       {name, value, std::to_string(ProgramFileVersion)});
    case ProgramFileIssueKind::BadItem:
        return Replace("%1: item %2 has a missing or wrong \"%3\".", {name, item, issue.detail});
    case ProgramFileIssueKind::TooManyItems:
        return Replace("%1 holds %2 items; a control program takes at most %3.",
                       {name, value, std::to_string(MaxControlItems)});
    case ProgramFileIssueKind::UnknownProgram:
        return Replace("%1: item %2 is program %3, which the catalogue doesn't have.", {name, item, value});
    case ProgramFileIssueKind::PauseOutOfRange:
        return Replace("%1: item %2 is a pause of %3 minutes and %4 seconds; a pause takes 0 to 99 minutes and "
                       "0 to 59 seconds, at least one second in all.",
                       {name, item, value, std::to_string(issue.value2)});
    case ProgramFileIssueKind::NotWritten:
        return Replace("%1 could not be saved: %2. A file already there is unchanged.", {name, issue.detail});
    case ProgramFileIssueKind::RenamedProgram:
        return Replace("%1: item %2, program %3, was saved as \"%4\"; the catalogue calls it \"%5\". The program "
                       "was taken by its number.",
                       {name, item, value, issue.detail, issue.detail2});
    }
    return name;
}

} // namespace trv
