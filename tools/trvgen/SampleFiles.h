#pragma once

#include "tools/trvgen/SampleSource.h"

#include <string>
#include <string_view>
#include <vector>

namespace trv::gen {

// Line end of every text file: the files come as a Windows machine writes them.
inline constexpr std::string_view LineEnd = "\r\n";

// trvimpr.tvb: header, index of step offsets and running times, the steps of all programs in
// program order, and one record with step word 0xFFFF that ends the step area.
std::string catalogueFile(const SampleSource& source);

// trvimpr.tvn of one language: "#" and the catalogue version, "<number> <name>" lines in the
// language's alphabetical order, and "#<checksum> <count>".
std::string namesFile(const SampleSource& source, size_t language);

// The checksum of the names file's program lines (line ends excluded): every byte taken as a
// signed 8-bit value, summed, and the remainder of the sum by 65536 with truncating division, so
// a negative sum gives a negative checksum.
int NamesChecksum(const std::vector<std::string>& programLines);

// vorlix.spb: header, the sessions' program lists, and an 800-byte record per protocol with the
// items' program lists and electrode records.
std::string protocolFile(const SampleSource& source);

// vorlix.spn of one language: "#E" electrode names, "#P" protocols with their items indented by
// two spaces, "#S" session names.
std::string protocolTextsFile(const SampleSource& source, size_t language);

// msg.txt: message 0 on the first line.
std::string messageFile(const SampleSource& source, size_t language);

// caphint.txt: the 36 main-window texts, the caption table, and an empty line that ends it.
std::string captionFile(const SampleSource& source, size_t language);

// language.fld: "<name> <folder>" per language.
std::string languageList(const SampleSource& source);

// The whole sample data folder: the files above, the flags and the error sound.
FileSet sampleFolder(const SampleSource& source);

} // namespace trv::gen
