// Checks the committed sample data folder on its own terms (formats, limits, texts) and loads it
// through the application's catalogue loaders in both languages.

#include "data/CatalogueFile.h"
#include "data/CatalogueTexts.h"
#include "data/DataFolder.h"
#include "data/LanguageSelection.h"
#include "data/MessageNumbers.h"
#include "data/ProtocolFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace trv {
namespace {

const std::string DataDir = TRV_SAMPLE_DATA_DIR;

std::string readData(const std::string& name) {
    std::ifstream in(DataDir + "/" + name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in)
        throw std::runtime_error(name + " can't be read");
    return content.str();
}

uint32_t u32At(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i)
        v |= static_cast<uint32_t>(static_cast<uint8_t>(bytes.at(at + i))) << (8 * i);
    return v;
}

uint16_t u16At(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes.at(at)) | static_cast<uint8_t>(bytes.at(at + 1)) << 8);
}

// Lines of a CR LF file; every line must end with CR LF.
std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            throw std::runtime_error("a line without CR LF");
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

const char* const Folders[] = {"ENG", "HUN"};

struct RawCatalogue {
    uint16_t version = 0;
    std::vector<uint32_t> firstStep;
    std::vector<uint32_t> seconds;
    std::vector<std::string> steps; // 20-byte records before the end record
};

RawCatalogue rawCatalogue() {
    const std::string tvb = readData("trvimpr.tvb");
    RawCatalogue c;
    c.version = u16At(tvb, 4);
    const uint16_t count = u16At(tvb, 6);
    for (size_t k = 0; k < count; ++k) {
        c.firstStep.push_back(u32At(tvb, 16 + 8 * k) / 20);
        c.seconds.push_back(u32At(tvb, 20 + 8 * k));
    }
    for (size_t at = 16 + 8 * size_t{count}; at + 20 <= tvb.size(); at += 20) {
        if (u16At(tvb, at) == 0xFFFF)
            return c;
        c.steps.push_back(tvb.substr(at, 20));
    }
    throw std::runtime_error("no end record");
}

TEST(SampleData, CatalogueHasPlausibleProgramsWithinTheDeviceLimits) {
    const RawCatalogue c = rawCatalogue();
    const size_t n = c.seconds.size();
    EXPECT_GE(n, 60u);
    EXPECT_LE(n, 120u);
    EXPECT_EQ(readData("trvimpr.tvb").substr(0, 3), "TVB");
    for (size_t k = 0; k < n; ++k) {
        const uint32_t end = k + 1 < n ? c.firstStep[k + 1] : static_cast<uint32_t>(c.steps.size());
        ASSERT_LT(c.firstStep[k], end) << "program " << k + 1;
        EXPECT_LE(end - c.firstStep[k], 128u) << "program " << k + 1;
        uint32_t sum = 0;
        for (uint32_t s = c.firstStep[k]; s < end; ++s)
            sum += u16At(c.steps[s], 0);
        EXPECT_EQ(c.seconds[k], sum) << "program " << k + 1 << " runs as long as its steps";
        EXPECT_GE(c.seconds[k], 60u);
        EXPECT_LE(c.seconds[k], 1200u);
    }
    uint32_t lowest = UINT32_MAX;
    uint32_t highest = 0;
    for (const std::string& step : c.steps) {
        const auto b = [&](size_t i) { return static_cast<uint8_t>(step[2 + i]); };
        EXPECT_EQ(b(3) & 0x0F, 0);
        EXPECT_EQ(b(4), 0);
        EXPECT_EQ(b(5), 0);
        EXPECT_EQ(b(6) & 0xC0, 0);
        lowest = std::min(lowest, u32At(step, 12));
        highest = std::max(highest, u32At(step, 12) + u32At(step, 16));
    }
    EXPECT_EQ(lowest, 1u);
    EXPECT_EQ(highest, 1'000'000u);
}

TEST(SampleData, StepsAreSharedAndSomeDifferOnlyInThePaddingByte) {
    const RawCatalogue c = rawCatalogue();
    std::set<std::string> exact;
    std::set<std::string> withoutPadding;
    for (const std::string& step : c.steps) {
        exact.insert(step);
        withoutPadding.insert(step.substr(0, 11) + step.substr(12));
    }
    EXPECT_LT(exact.size(), c.steps.size() / 2);
    EXPECT_LT(withoutPadding.size(), exact.size());
}

int signedByteSum(const std::vector<std::string>& lines) {
    long long sum = 0;
    for (const std::string& line : lines)
        for (char ch : line)
            sum += static_cast<signed char>(ch);
    return static_cast<int>(sum % 65536);
}

TEST(SampleData, NamesFilesCarryVersionEveryNumberOnceAndTheirChecksum) {
    const RawCatalogue c = rawCatalogue();
    for (const char* folder : Folders) {
        SCOPED_TRACE(folder);
        const std::vector<std::string> lines = crlfLines(readData(std::string(folder) + "/trvimpr.tvn"));
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines.front(), "#" + std::to_string(c.version));
        const std::vector<std::string> programLines(lines.begin() + 1, lines.end() - 1);
        std::set<int> numbers;
        size_t longNames = 0;
        for (const std::string& line : programLines) {
            EXPECT_LE(line.size(), 98u);
            const size_t space = line.find(' ');
            ASSERT_NE(space, std::string::npos);
            numbers.insert(std::stoi(line.substr(0, space)));
            longNames += line.size() - space - 1 > 24 ? 1 : 0;
        }
        EXPECT_EQ(numbers.size(), c.seconds.size());
        EXPECT_EQ(*numbers.begin(), 1);
        EXPECT_EQ(*numbers.rbegin(), static_cast<int>(c.seconds.size()));
        // A few names are cut in the short label; most are not.
        EXPECT_GE(longNames, 3u);
        EXPECT_LE(longNames, programLines.size() / 5);
        EXPECT_EQ(lines.back(),
                  "#" + std::to_string(signedByteSum(programLines)) + " " + std::to_string(programLines.size()));
    }
}

TEST(SampleData, HungarianTextsUseTheCentralEuropeanLetters) {
    // ő and ű (0xF5 and 0xFB) exist only in the Central European page.
    const std::string names = readData("HUN/trvimpr.tvn");
    EXPECT_NE(names.find('\xF5'), std::string::npos);
    EXPECT_NE(names.find('\xFB'), std::string::npos);
    for (const char* file : {"HUN/msg.txt", "HUN/caphint.txt", "HUN/vorlix.spn"}) {
        const std::string text = readData(file);
        EXPECT_NE(text.find_first_of("\xF5\xFB"), std::string::npos) << file;
    }
    for (const char* file : {"ENG/trvimpr.tvn", "ENG/msg.txt", "ENG/caphint.txt", "ENG/vorlix.spn"}) {
        const std::string text = readData(file);
        EXPECT_TRUE(std::all_of(text.begin(), text.end(), [](char ch) { return static_cast<uint8_t>(ch) < 0x80; }))
            << file;
    }
}

TEST(SampleData, TextTablesFillEveryNumberTheApplicationUses) {
    for (const char* folder : Folders) {
        SCOPED_TRACE(folder);
        const std::vector<std::string> messages = crlfLines(readData(std::string(folder) + "/msg.txt"));
        ASSERT_EQ(messages.size(), static_cast<size_t>(msg::DevicePermission) + 1);
        for (const std::string& text : messages) {
            EXPECT_FALSE(text.empty());
            EXPECT_LE(text.size(), 116u);
        }
        EXPECT_NE(messages[msg::IdleValue].find('*'), std::string::npos);

        const std::vector<std::string> captions = crlfLines(readData(std::string(folder) + "/caphint.txt"));
        ASSERT_EQ(captions.size(), 36u + 45 + 1);
        for (size_t k = 0; k + 1 < captions.size(); ++k) {
            EXPECT_FALSE(captions[k].empty()) << "line " << k + 1;
            EXPECT_LE(captions[k].size(), 116u);
        }
        EXPECT_TRUE(captions.back().empty());
    }
    EXPECT_EQ(readData("language.fld"), "English ENG\r\nMagyar HUN\r\n");
    EXPECT_EQ(readData("trv.cff"), "0\r\nNum\r\nEnglish\r\n");
}

TEST(SampleData, FlagsAreTwentyFourBitBitmapsOfThirtyEightByTwentyFive) {
    for (const char* folder : Folders) {
        const std::string bmp = readData(std::string(folder) + "/flag.bmp");
        ASSERT_EQ(bmp.size(), 54u + 116 * 25) << folder;
        EXPECT_EQ(bmp.substr(0, 2), "BM");
        EXPECT_EQ(u32At(bmp, 2), bmp.size());
        EXPECT_EQ(u32At(bmp, 10), 54u);
        EXPECT_EQ(u32At(bmp, 14), 40u);
        EXPECT_EQ(u32At(bmp, 18), 38u);
        EXPECT_EQ(u32At(bmp, 22), 25u);
        EXPECT_EQ(u16At(bmp, 28), 24);
        EXPECT_EQ(u32At(bmp, 30), 0u);
    }
}

TEST(SampleData, ErrorSoundIsAShortPcmWave) {
    const std::string wav = readData("bom.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(u32At(wav, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u16At(wav, 20), 1);
    const uint16_t channels = u16At(wav, 22);
    const uint32_t rate = u32At(wav, 24);
    const uint16_t bits = u16At(wav, 34);
    EXPECT_EQ(u32At(wav, 28), rate * channels * bits / 8);
    EXPECT_EQ(wav.substr(36, 4), "data");
    const uint32_t dataSize = u32At(wav, 40);
    EXPECT_EQ(dataSize, wav.size() - 44);
    const double seconds = static_cast<double>(dataSize) / (rate * channels * bits / 8);
    EXPECT_GE(seconds, 0.2);
    EXPECT_LE(seconds, 0.5);
}

class AcceptingFlag : public FlagPicture {
public:
    bool loadFlag(const std::string&, const std::optional<std::string>& bytes) override {
        return bytes && bytes->substr(0, 2) == "BM";
    }
};

TEST(SampleData, LoadsWithoutAnyMessageInBothLanguages) {
    const DataFolder folder(DataDir);
    const std::optional<std::string> tvb = folder.read(CatalogueFileName);
    const CatalogueHeaderResult header = ReadCatalogueHeader(tvb);
    ASSERT_TRUE(header.outcome.ok()) << "message " << header.outcome.message;
    ProgramCatalogue catalogue;
    AssembleCatalogue(catalogue, header.header, LoadStepTable(*tvb));
    EXPECT_LT(catalogue.distinctSteps().size(), catalogue.stepMap().size());

    const ProtocolFileResult protocols = LoadProtocolFile(folder.read(ProtocolFileName));
    ASSERT_TRUE(protocols.outcome.ok()) << "message " << protocols.outcome.message;
    EXPECT_GE(protocols.file.protocols.size(), 8u);
    EXPECT_LE(protocols.file.protocols.size(), 12u);

    for (const char* name : {"English", "Magyar"}) {
        SCOPED_TRACE(name);
        LanguagePaths paths;
        AcceptingFlag flag;
        LanguageTexts texts;
        const LanguageSelection selection = SelectLanguage(std::string(name) + "\n", folder, paths, flag, texts);
        EXPECT_TRUE(selection.listed);
        EXPECT_EQ(selection.stage, LanguageLoadStage::Complete);
        for (int k = 0; k <= msg::DevicePermission; ++k)
            EXPECT_FALSE(texts.messages.text(k).empty()) << "message " << k;
        for (int k = 0; k < 45; ++k)
            EXPECT_FALSE(texts.captions.text(k).empty()) << "caption " << k;
        EXPECT_TRUE(texts.captions.text(45).empty());
        for (const std::string& text : texts.mainTexts)
            EXPECT_FALSE(text.empty());

        ProtocolTexts protocolTexts;
        const LoadOutcome loaded = LoadCatalogueTexts(folder, paths, catalogue, protocolTexts);
        ASSERT_TRUE(loaded.ok()) << "message " << loaded.message;
        EXPECT_EQ(static_cast<int>(catalogue.nameOrder().size()), catalogue.programCount());

        // The texts match the protocol file node for node, and every electrode number has a name.
        ASSERT_EQ(protocolTexts.protocols.size(), protocols.file.protocols.size());
        for (size_t p = 0; p < protocolTexts.protocols.size(); ++p) {
            const ProtocolRecord& record = protocols.file.protocols[p];
            EXPECT_EQ(static_cast<int>(protocolTexts.protocols[p].items.size()), record.itemCount());
            for (int i = 0; i < record.itemCount(); ++i) {
                for (uint32_t electrode :
                     {record.electrodes[i].inputA, record.electrodes[i].inputB, record.electrodes[i].outputC}) {
                    EXPECT_GE(electrode, 1u);
                    EXPECT_LE(electrode, protocolTexts.electrodeNames.size());
                }
            }
        }
        EXPECT_EQ(protocolTexts.sessionLines.size(), protocols.file.sessions.size());

        int cutShort = 0;
        for (int n = 1; n <= catalogue.programCount(); ++n) {
            const std::string& label = catalogue.program(n)->shortLabel;
            cutShort += label.size() == 31 && label.ends_with("...") ? 1 : 0;
        }
        EXPECT_GE(cutShort, 3);
        int cutLong = 0;
        for (int n = 1; n <= catalogue.programCount(); ++n)
            cutLong += catalogue.longLabel(n)->find("... [") != std::string::npos ? 1 : 0;
        EXPECT_GE(cutLong, 1);
    }
}

// Every protocol item and session, taken as a control program (at most its first ten programs),
// fits the device image: so the sample data never meet the refusals of the download.
TEST(SampleData, ProtocolListsFitTheDeviceImage) {
    const DataFolder folder(DataDir);
    const std::optional<std::string> tvb = folder.read(CatalogueFileName);
    const CatalogueHeaderResult header = ReadCatalogueHeader(tvb);
    ASSERT_TRUE(header.outcome.ok());
    ProgramCatalogue catalogue;
    AssembleCatalogue(catalogue, header.header, LoadStepTable(*tvb));
    const ProtocolFileResult protocols = LoadProtocolFile(folder.read(ProtocolFileName));
    ASSERT_TRUE(protocols.outcome.ok());

    std::vector<SessionProgramList> lists = protocols.file.sessions;
    for (const ProtocolRecord& record : protocols.file.protocols) {
        EXPECT_GE(record.itemCount(), 2);
        EXPECT_LE(record.itemCount(), 6);
        for (int i = 0; i < record.itemCount(); ++i) {
            EXPECT_GE(record.itemLists[i].size(), 2);
            EXPECT_LE(record.itemLists[i].size(), 8);
            lists.push_back(record.itemLists[i]);
        }
    }
    for (const SessionProgramList& list : lists) {
        int indexCount = 0;
        std::set<int> slots;
        int taken = 0;
        for (uint32_t number : list) {
            if (++taken > 10)
                break;
            const CatalogueProgram* program = catalogue.program(static_cast<int>(number));
            ASSERT_NE(program, nullptr) << number;
            indexCount += program->stepCount;
            for (int s = 0; s < program->stepCount; ++s)
                slots.insert(catalogue.stepMap()[static_cast<size_t>(program->firstStep + s)]);
        }
        EXPECT_LE(indexCount, 1024);
        EXPECT_LE(slots.size(), 256u);
    }
}

} // namespace
} // namespace trv
