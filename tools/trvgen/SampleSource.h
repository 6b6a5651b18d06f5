#pragma once

#include "data/Codepage.h"
#include "data/ProgramCatalogue.h"
#include "tools/trvgen/Collation.h"
#include "tools/trvgen/Picture.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace trv::gen {

// Files by their path relative to a folder, "/" between the parts: the source tables going in,
// the sample data folder coming out.
using FileSet = std::map<std::string, std::string>;

struct Language {
    std::string name;   // as language.fld lists it
    std::string folder; // three characters
    Codepage codepage = Codepage::Western;
    Alphabet alphabet = Alphabet::English;
    FlagDesign flag;
};

// Every text below is UTF-8 as written in the source; per-language texts are indexed like
// SampleSource::languages.
struct ProgramSource {
    int number = 0;
    std::vector<std::string> names;
    std::vector<size_t> steps; // positions in SampleSource::steps, in running order
    uint32_t runningSeconds = 0;
};

struct ProtocolItemSource {
    std::vector<std::string> names;
    std::vector<uint32_t> programs; // program numbers
    uint32_t inputA = 0;            // 1-based electrode numbers
    uint32_t inputB = 0;
    uint32_t outputC = 0;
};

struct ProtocolSource {
    std::vector<std::string> names;
    std::vector<ProtocolItemSource> items;
};

struct SessionSource {
    std::vector<std::string> names;
    std::vector<uint32_t> programs;
};

struct LanguageTexts {
    std::vector<std::string> mainWindow; // caphint.txt lines 1 to 36
    std::vector<std::string> captions;   // the dialogs' caption table, from entry 0
    std::vector<std::string> messages;   // the message table, from message 0
};

struct SampleSource {
    uint16_t catalogueVersion = 0;
    std::vector<Language> languages;
    std::vector<ProgramStep> steps;
    std::vector<std::string> stepIds;
    std::vector<ProgramSource> programs;              // program k - 1 is number k
    std::vector<std::vector<std::string>> electrodes; // electrode k - 1 is number k; names per language
    std::vector<ProtocolSource> protocols;
    std::vector<SessionSource> sessions;
    std::vector<LanguageTexts> texts;
};

// Limits of the formats, checked while reading so that every file the generator writes loads.
inline constexpr int MaxStepsPerProgram = 128;
inline constexpr int MaxProgramsPerList = 15;
inline constexpr int MaxProtocolItems = 10;
inline constexpr int MaxElectrodes = 40;
inline constexpr size_t MaxElectrodeName = 19;
inline constexpr size_t MaxNamesLine = 98;
inline constexpr size_t MaxTextLine = 116;
inline constexpr size_t MaxLanguageLine = 48;
inline constexpr int MainWindowTexts = 36;
inline constexpr int MaxCaptions = 70;
inline constexpr int MaxMessages = 50;

// Reads and checks the source tables (languages.csv, steps.csv, programs.csv, electrodes.csv,
// protocols.csv, sessions.csv, and <folder>/messages.txt and <folder>/captions.txt for every
// language). Throws GeneratorError naming the file and line of the first fault.
SampleSource readSampleSource(const FileSet& files);

// A text in the language's code page; throws when the page lacks one of its characters.
std::string encodeFor(const Language& language, const std::string& utf8, const std::string& where);

} // namespace trv::gen
