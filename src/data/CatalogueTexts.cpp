#include "data/CatalogueTexts.h"

#include "data/Log.h"
#include "data/MessageNumbers.h"
#include "data/ProgramNames.h"

namespace trv {

LoadOutcome LoadCatalogueTexts(const DataFolder& folder, const LanguagePaths& paths, ProgramCatalogue& catalogue,
                               ProtocolTexts& protocolTexts) {
    const std::optional<std::string> namesBytes = folder.read(paths.path(LanguageFile::ProgramNames));
    if (!namesBytes) {
        TRV_LOG(LogCategory::Data, LogLevel::Warning,
                paths.path(LanguageFile::ProgramNames)
                    << " is missing or unreadable [message " << msg::NamesMissing << "]");
        return LoadOutcome::failure(msg::NamesMissing);
    }
    ProgramNamesResult names = ParseProgramNames(*namesBytes, catalogue);
    if (!names.outcome.ok())
        return names.outcome;

    const std::optional<std::string> textBytes = folder.read(paths.path(LanguageFile::ProtocolTexts));
    if (!textBytes) {
        TRV_LOG(LogCategory::Data, LogLevel::Warning,
                paths.path(LanguageFile::ProtocolTexts)
                    << " is missing or unreadable [message " << msg::ProtocolTextsMissing << "]");
        return LoadOutcome::failure(msg::ProtocolTextsMissing);
    }

    catalogue.applyNames(std::move(names.names));
    protocolTexts = ParseProtocolTexts(*textBytes);
    return LoadOutcome::success();
}

} // namespace trv
