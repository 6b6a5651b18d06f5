#pragma once

#include "data/DataFolder.h"
#include "data/ProgramCatalogue.h"
#include "program/ControlProgram.h"

#include <optional>
#include <ostream>
#include <string>

namespace trv {

// The folder's catalogue as the application loads it, without names (the device image needs none).
// The problem, in the application's words, goes to err; nullopt then.
std::optional<ProgramCatalogue> LoadCatalogue(const DataFolder& folder, std::ostream& err);

// The folder's catalogue as the application loads it, with the names of a language: the one
// given, else the one trv.cff names (the default folder when it names none). The problem, in the
// application's words, goes to err; nullopt then.
std::optional<ProgramCatalogue> LoadNamedCatalogue(const DataFolder& folder, const std::string* language,
                                                   std::ostream& err);

// Checks a control program file against the folder as the application opens it: the problem
// that keeps it from opening as an error, each notice as a warning, in the application's
// words, then the counts. Returns the exit status.
int CheckProgramFile(const DataFolder& folder, const std::string& file, const std::string* language, std::ostream& out,
                     std::ostream& err);

// Fills the control program from a program file (for --image); false with the reason in error.
bool ComposeFromProgramFile(const std::string& file, const ProgramCatalogue& catalogue, ControlProgram& control,
                            std::string& error);

} // namespace trv
