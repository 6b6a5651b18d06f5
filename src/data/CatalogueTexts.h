#pragma once

#include "data/DataFolder.h"
#include "data/LanguagePaths.h"
#include "data/LoadOutcome.h"
#include "data/ProgramCatalogue.h"
#include "data/ProtocolTexts.h"

namespace trv {

// Reads the names file (message 3 when missing, 4 or 5 when refused) into the catalogue, then the
// protocol and session texts (message 38 when missing). Nothing is changed unless both succeed.
LoadOutcome LoadCatalogueTexts(const DataFolder& folder, const LanguagePaths& paths, ProgramCatalogue& catalogue,
                               ProtocolTexts& protocolTexts);

} // namespace trv
