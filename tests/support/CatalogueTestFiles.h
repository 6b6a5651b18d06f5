#pragma once

// Builders for the catalogue's file formats, written from the formats directly (not through the
// project's readers), and a temporary data folder.

#include "TestCatalogue.h"

#include "data/DataFolder.h"
#include "data/ProgramCatalogue.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace trv::test {

inline void putU16(std::string& bytes, uint16_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
}

inline void putU32(std::string& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::string stepRecord(const ProgramStep& step) {
    std::string bytes;
    putU16(bytes, step.stepWord);
    for (uint8_t b : step.deviceBytes)
        bytes += static_cast<char>(b);
    bytes += static_cast<char>(step.padding);
    putU32(bytes, step.frequency);
    putU32(bytes, step.frequencySpan);
    return bytes;
}

inline ProgramStep makeStep(uint16_t word, uint32_t frequency, uint8_t padding = 0, uint8_t firstDeviceByte = 0) {
    ProgramStep step;
    step.stepWord = word;
    step.frequency = frequency;
    step.frequencySpan = frequency / 10;
    step.deviceBytes[0] = firstDeviceByte;
    step.padding = padding;
    return step;
}

// An entry of trvimpr.tvb's index: where the program's steps start and how long it runs.
struct IndexRecord {
    uint32_t stepOffset;
    uint32_t runningSeconds;
};

// Header, index and step records of trvimpr.tvb; the caller appends an end word if wanted.
inline std::string catalogueBytes(uint16_t version, const std::vector<IndexRecord>& programs,
                                  const std::vector<ProgramStep>& steps, uint16_t declaredCount = 0xFFFF) {
    std::string bytes = "TVB";
    bytes += '\0';
    putU16(bytes, version);
    putU16(bytes, declaredCount == 0xFFFF ? static_cast<uint16_t>(programs.size()) : declaredCount);
    bytes.append(8, '\0');
    for (const IndexRecord& program : programs) {
        putU32(bytes, program.stepOffset);
        putU32(bytes, program.runningSeconds);
    }
    for (const ProgramStep& step : steps)
        bytes += stepRecord(step);
    return bytes;
}

inline std::string endWord() {
    return std::string(2, '\xFF') + std::string(18, '\0');
}

// Sum of the program lines' characters as signed 8-bit values, remainder by truncating division.
inline int checksumOf(const std::vector<std::string>& programLines) {
    long long sum = 0;
    for (const std::string& line : programLines)
        for (char c : line)
            sum += static_cast<signed char>(c);
    return static_cast<int>(sum % 65536);
}

// A names file with the right version, checksum and count unless told otherwise.
inline std::string namesFile(int version, const std::vector<std::string>& programLines, const char* lineEnd = "\r\n") {
    std::string text = "#" + std::to_string(version) + lineEnd;
    for (const std::string& line : programLines)
        text += line + lineEnd;
    text += "#" + std::to_string(checksumOf(programLines)) + " " + std::to_string(programLines.size()) + lineEnd;
    return text;
}

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "trv-cat-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const { return path_.string(); }
    DataFolder folder() const { return DataFolder(path()); }

    // Writes a file; relative may hold '/' for a sub-folder, which is created.
    void write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out << bytes;
        if (!out)
            std::abort();
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path path_;
};

} // namespace trv::test
