#include "check/ProgramFileCheck.h"

#include "data/BuiltinMessages.h"
#include "data/CatalogueFile.h"
#include "data/CatalogueTexts.h"
#include "data/LanguageSelection.h"
#include "data/Settings.h"
#include "program/ProgramFile.h"

namespace trv {

std::optional<ProgramCatalogue> LoadCatalogue(const DataFolder& folder, std::ostream& err) {
    const std::optional<std::string> bytes = folder.read(CatalogueFileName);
    StepTable steps = LoadStepTable(bytes.value_or(std::string()));
    const CatalogueHeaderResult header = ReadCatalogueHeader(bytes);
    if (!header.outcome.ok()) {
        err << "trv-check: " << CatalogueFileName << ": " << BuiltinMessage(header.outcome.message) << " [message "
            << header.outcome.message << "]\n";
        return std::nullopt;
    }
    ProgramCatalogue catalogue;
    AssembleCatalogue(catalogue, header.header, std::move(steps));
    return catalogue;
}

std::optional<ProgramCatalogue> LoadNamedCatalogue(const DataFolder& folder, const std::string* language,
                                                   std::ostream& err) {
    std::optional<ProgramCatalogue> catalogue = LoadCatalogue(folder, err);
    if (!catalogue)
        return std::nullopt;

    std::optional<std::string> name;
    if (language != nullptr) {
        name = *language;
    } else if (const LoadedSettings settings = LoadSettings(folder.read(SettingsFileName)); settings.languageLineRead) {
        name = settings.settings.languageName;
    }
    LanguagePaths paths;
    if (name) {
        bool listed = false;
        for (const LanguageEntry& entry : ReadLanguageList(folder).value_or(std::vector<LanguageEntry>{})) {
            if (entry.name == *name && paths.setFolderCode(entry.folderCode)) {
                listed = true;
                break;
            }
        }
        if (!listed && language != nullptr) {
            err << "trv-check: language.fld lists no language " << *name << '\n';
            return std::nullopt;
        }
    }
    ProtocolTexts texts;
    const LoadOutcome outcome = LoadCatalogueTexts(folder, paths, *catalogue, texts);
    if (!outcome.ok()) {
        err << "trv-check: " << folder.nativePath(paths.path(LanguageFile::ProgramNames)) << ": "
            << BuiltinMessage(outcome.message) << " [message " << outcome.message << "]\n";
        return std::nullopt;
    }
    return catalogue;
}

int CheckProgramFile(const DataFolder& folder, const std::string& file, const std::string* language, std::ostream& out,
                     std::ostream& err) {
    const std::optional<ProgramCatalogue> catalogue = LoadNamedCatalogue(folder, language, err);
    if (!catalogue)
        return 1;
    ControlProgram control(*catalogue, [](int k) { return BuiltinMessage(k); });
    const ProgramFileOpened opened = OpenProgramFile(file, *catalogue, control);
    const int errors = opened.problem ? 1 : 0;
    const int warnings = static_cast<int>(opened.notices.size());
    if (opened.problem)
        out << "error: " << DescribeProgramFileIssue(*opened.problem, file) << '\n';
    for (const ProgramFileIssue& notice : opened.notices)
        out << "warning: " << DescribeProgramFileIssue(notice, file) << '\n';
    out << errors << (errors == 1 ? " error, " : " errors, ") << warnings << (warnings == 1 ? " warning" : " warnings")
        << '\n';
    return errors > 0 ? 1 : 0;
}

bool ComposeFromProgramFile(const std::string& file, const ProgramCatalogue& catalogue, ControlProgram& control,
                            std::string& error) {
    // The image needs no names: notices about them are left to --program.
    const ProgramFileOpened opened = OpenProgramFile(file, catalogue, control);
    if (opened.problem)
        error = DescribeProgramFileIssue(*opened.problem, file);
    return !opened.problem;
}

} // namespace trv
