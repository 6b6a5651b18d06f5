#include "check/CheckCommand.h"

#include "check/CheckReport.h"
#include "check/FolderCheck.h"
#include "check/ImageListing.h"
#include "check/ProgramFileCheck.h"
#include "data/BuiltinMessages.h"
#include "program/ProgramFile.h"

#include <dirent.h>
#include <optional>
#include <sys/stat.h>

#ifndef TRV_VERSION
#define TRV_VERSION "unknown"
#endif

namespace trv {

namespace {

constexpr const char* Usage = "Usage: trv-check [--json] [--language NAME]... [FOLDER]\n"
                              "       trv-check --image ITEMS|FILE [--percent N] [FOLDER]\n"
                              "       trv-check --program FILE [--language NAME] [FOLDER]\n";

constexpr const char* Help =
    "Checks a TRV data folder the way the application reads it and reports every problem.\n"
    "\n"
    "  FOLDER             the data folder (default: the current folder)\n"
    "  --language NAME    check only this language of language.fld (repeatable); without it,\n"
    "                     every listed language and the one trv.cff names\n"
    "  --json             the report as one JSON document\n"
    "  --image ITEMS      print the device image of a control program written as\n"
    "                     P12,T2:30,W,P5 (P program, T pause minutes:seconds, W wait),\n"
    "                     or kept in a program file (.trvp)\n"
    "  --program FILE     check a control program file as the application opens it: its\n"
    "                     programs against the catalogue, its names against the language\n"
    "                     trv.cff names (or --language NAME)\n"
    "  --percent N        the device's correction percentage for --image, 0 to 255 (default 0)\n"
    "  --help, --version\n"
    "\n"
    "Each problem is one line, FILE:LINE: error: TEXT for text files and\n"
    "FILE: error: TEXT (record N, offset 0xOFFSET) for binary files, followed by the\n"
    "message the application shows, if any, as [message K].\n"
    "Exit status: 0 no errors, 1 errors, 2 wrong usage or a folder that can't be read.\n";

bool ReadableFolder(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    DIR* dir = ::opendir(path.c_str());
    if (dir == nullptr)
        return false;
    ::closedir(dir);
    return true;
}

// A program file rather than items: its extension, or a file of that name (items hold no '/').
bool IsProgramFileName(const std::string& text) {
    struct stat info {};
    return text.ends_with(ProgramFileExtension) || (::stat(text.c_str(), &info) == 0 && S_ISREG(info.st_mode));
}

int UsageError(std::ostream& err, const std::string& text) {
    err << "trv-check: " << text << '\n' << Usage;
    return CheckUsage;
}

int ListImage(const DataFolder& folder, const std::string& items, int percent, std::ostream& out, std::ostream& err) {
    const std::optional<ProgramCatalogue> loaded = LoadCatalogue(folder, err);
    if (!loaded)
        return CheckErrors;
    const ProgramCatalogue& catalogue = *loaded;

    ControlProgram control(catalogue, [](int k) { return BuiltinMessage(k); });
    std::string error;
    if (IsProgramFileName(items)) {
        if (!ComposeFromProgramFile(items, catalogue, control, error)) {
            err << "trv-check: " << error << '\n';
            return CheckErrors;
        }
    } else if (!ComposeControlProgram(items, control, error)) {
        return UsageError(err, error);
    }
    DeviceImage image;
    MarkImageTitle(image, false);
    const ImageBuildResult built = BuildDeviceImage(image, control, false, catalogue, static_cast<uint8_t>(percent));
    if (!built.ok) {
        err << "trv-check: the application refuses this control program: " << BuiltinMessage(built.message)
            << " [message " << built.message << "]\n";
        return CheckErrors;
    }
    WriteImageListing(out, image);
    return CheckClean;
}

} // namespace

int RunCheckCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> languages;
    std::optional<std::string> folderPath;
    std::optional<std::string> image;
    std::optional<std::string> program;
    std::optional<int> percent;
    bool json = false;

    for (size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        // "--option value" and "--option=value" alike.
        const auto value = [&](const std::string& option, std::string& into) {
            if (arg == option) {
                if (k + 1 >= args.size())
                    return false;
                into = args[++k];
                return true;
            }
            into = arg.substr(option.size() + 1);
            return true;
        };
        const auto is = [&arg](const std::string& option) { return arg == option || arg.rfind(option + "=", 0) == 0; };
        std::string given;
        if (arg == "--help" || arg == "-h") {
            out << Usage << '\n' << Help;
            return CheckClean;
        } else if (arg == "--version") {
            out << "trv-check " << TRV_VERSION << '\n';
            return CheckClean;
        } else if (arg == "--json") {
            json = true;
        } else if (is("--language")) {
            if (!value("--language", given) || given.empty())
                return UsageError(err, "--language needs a language name");
            languages.push_back(given);
        } else if (is("--image")) {
            if (!value("--image", given))
                return UsageError(err, "--image needs the items, e.g. P12,T2:30,W,P5");
            image = given;
        } else if (is("--program")) {
            if (!value("--program", given) || given.empty())
                return UsageError(err, "--program needs a program file");
            program = given;
        } else if (is("--percent")) {
            int number = 0;
            bool digits = value("--percent", given) && !given.empty() && given.size() <= 3;
            for (char c : given) {
                digits = digits && c >= '0' && c <= '9';
                number = number * 10 + (c - '0');
            }
            if (!digits || number > 255)
                return UsageError(err, "--percent needs a number from 0 to 255");
            percent = number;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError(err, "unknown option " + arg);
        } else if (folderPath) {
            return UsageError(err, "only one folder can be checked at a time");
        } else {
            folderPath = arg;
        }
    }
    if (image && (json || !languages.empty()))
        return UsageError(err, "--image takes neither --json nor --language");
    if (program && (image || json || languages.size() > 1))
        return UsageError(err, "--program takes neither --image nor --json, and one --language at most");
    if (percent && !image)
        return UsageError(err, "--percent belongs to --image");

    const DataFolder folder(folderPath.value_or("."));
    if (!ReadableFolder(folder.root())) {
        err << "trv-check: " << folder.root() << ": not a folder that can be read\n";
        return CheckUsage;
    }
    if (image)
        return ListImage(folder, *image, percent.value_or(0), out, err);
    if (program)
        return CheckProgramFile(folder, *program, languages.empty() ? nullptr : &languages.front(), out, err);

    std::string error;
    const std::optional<std::vector<CheckedLanguage>> checked = LanguagesToCheck(folder, languages, error);
    if (!checked)
        return UsageError(err, error);
    const Diagnostics found = CheckDataFolder(folder, *checked);
    if (json)
        WriteJsonReport(out, folder, found);
    else
        WriteTextReport(out, folder, found);
    return found.errorCount() > 0 ? CheckErrors : CheckClean;
}

} // namespace trv
