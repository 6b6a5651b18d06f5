#include "data/CatalogueTexts.h"

#include "data/Log.h"
#include "data/MessageNumbers.h"
#include "data/ProgramNames.h"

namespace trv {

namespace {

// A file of the language; one that is missing or unreadable is logged with the message that reports it.
std::optional<std::string> ReadLanguageFile(const DataFolder& folder, const LanguagePaths& paths, LanguageFile file,
                                            int missingMessage) {
    std::optional<std::string> bytes = folder.read(paths.path(file));
    if (!bytes) {
        TRV_LOG(LogCategory::Data, LogLevel::Warning,
                paths.path(file) << " is missing or unreadable [message " << missingMessage << "]");
    }
    return bytes;
}

} // namespace

LoadOutcome LoadCatalogueTexts(const DataFolder& folder, const LanguagePaths& paths, ProgramCatalogue& catalogue,
                               ProtocolTexts& protocolTexts) {
    const std::optional<std::string> namesBytes =
        ReadLanguageFile(folder, paths, LanguageFile::ProgramNames, msg::NamesMissing);
    if (!namesBytes)
        return LoadOutcome::failure(msg::NamesMissing);
    ProgramNamesResult names = ParseProgramNames(*namesBytes, catalogue);
    if (!names.outcome.ok())
        return names.outcome;

    const std::optional<std::string> textBytes =
        ReadLanguageFile(folder, paths, LanguageFile::ProtocolTexts, msg::ProtocolTextsMissing);
    if (!textBytes)
        return LoadOutcome::failure(msg::ProtocolTextsMissing);

    catalogue.applyNames(std::move(names.names));
    protocolTexts = ParseProtocolTexts(*textBytes);
    return LoadOutcome::success();
}

} // namespace trv
