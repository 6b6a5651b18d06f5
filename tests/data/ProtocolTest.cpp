#include "CatalogueTestFiles.h"
#include "data/MessageNumbers.h"
#include "data/ProgramNames.h"
#include "data/ProtocolBrowser.h"

#include <gtest/gtest.h>

namespace trv {
namespace {

using test::putU16;
using test::putU32;

std::string programList(std::vector<uint32_t> numbers) {
    numbers.resize(16, 0);
    std::string bytes;
    for (uint32_t n : numbers)
        putU32(bytes, n);
    return bytes;
}

struct TestItem {
    std::vector<uint32_t> programs;
    uint32_t a, b, c;
};

std::string protocolRecord(const std::vector<TestItem>& items) {
    std::string lists, electrodes;
    for (size_t j = 0; j < 10; ++j) {
        const TestItem item = j < items.size() ? items[j] : TestItem{{}, 0, 0, 0};
        lists += programList(item.programs);
        for (uint32_t value : {99u, item.a, item.b, item.c})
            putU32(electrodes, value);
    }
    return lists + electrodes;
}

std::string protocolFile(const std::vector<std::vector<uint32_t>>& sessions,
                         const std::vector<std::vector<TestItem>>& protocols) {
    std::string bytes = "TVX";
    bytes += '\x01';
    putU16(bytes, static_cast<uint16_t>(sessions.size()));
    putU16(bytes, static_cast<uint16_t>(protocols.size()));
    bytes.append(56, '\0');
    for (const auto& session : sessions)
        bytes += programList(session);
    for (const auto& protocol : protocols)
        bytes += protocolRecord(protocol);
    return bytes;
}

TEST(ProtocolFile, ReadsSessionsProtocolsAndNodeKinds) {
    const std::string bytes = protocolFile({{5, 6}, {}}, {{{{3, 12}, 1, 2, 3}, {{4}, 2, 2, 2}}, {}, {{{1}, 1, 1, 1}}});
    const ProtocolFileResult result = LoadProtocolFile(bytes);
    ASSERT_TRUE(result.outcome.ok());
    ASSERT_EQ(result.file.sessions.size(), 2u);
    EXPECT_EQ(std::vector<uint32_t>(result.file.sessions[0].begin(), result.file.sessions[0].end()),
              (std::vector<uint32_t>{5, 6}));
    EXPECT_TRUE(result.file.sessions[1].empty());
    using enum NodeKind;
    // The second protocol's first list starts with 0: it has no items and one node.
    EXPECT_EQ(result.file.nodeKinds, (std::vector<NodeKind>{Protocol, Item, Item, Protocol, Protocol, Item}));
    EXPECT_EQ(result.file.protocols[0].electrodes[0].inputB, 2u);
}

TEST(ProtocolFile, RefusesDamagedFiles) {
    EXPECT_EQ(LoadProtocolFile(std::nullopt).outcome.message, msg::ProtocolFileMissing);
    const std::string good = protocolFile({{1}}, {{{{1}, 1, 1, 1}}});
    std::string badMagic = good, badVersion = good;
    badMagic[0] = 'X';
    badVersion[3] = 2;
    for (const std::string& bytes :
         {good.substr(0, 63), badMagic, badVersion, good.substr(0, 64 + 63), good.substr(0, good.size() - 1)})
        EXPECT_EQ(LoadProtocolFile(bytes).outcome.message, msg::ProtocolFileDamaged) << bytes.size();
}

TEST(SessionProgramList, IteratesUpToTheFirstZeroAndNeverPastSixteen) {
    SessionProgramList list;
    list.slots = {3, 12, 0, 7};
    EXPECT_EQ(std::vector<uint32_t>(list.begin(), list.end()), (std::vector<uint32_t>{3, 12}));
    list.slots.fill(9);
    EXPECT_EQ(list.size(), 16);
}

TEST(ProtocolTexts, ParsesSections) {
    const ProtocolTexts texts = ParseProtocolTexts("ignored\n"
                                                   "#E\r\nNeck\r\nWrist electrode longer than 19\r\n"
                                                   "#P\r\n  orphan item\r\nBack\r\n   Lower\r\n Upper\r\nHead\r\n"
                                                   "#X\r\nnot used\r\n"
                                                   "#S\r\nMorning\r\n");
    EXPECT_EQ(texts.electrodeNames, (std::vector<std::string>{"Neck", "Wrist electrode lon"}));
    ASSERT_EQ(texts.protocols.size(), 2u);
    EXPECT_EQ(texts.protocols[0].text, "Back");
    EXPECT_EQ(texts.protocols[0].items, (std::vector<std::string>{"Lower", "Upper"}));
    EXPECT_TRUE(texts.protocols[1].items.empty());
    EXPECT_EQ(texts.sessionLines, std::vector<std::string>{"Morning"});
    EXPECT_EQ(texts.treePosition(1), 3);
    EXPECT_EQ(texts.treePosition(0, 1), 2);
    EXPECT_EQ(texts.treePosition(1, 0), -1);
    EXPECT_EQ(texts.nodeCount(), 4);
}

class Browser : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue = test::catalogueWithTimes(1, std::vector<uint32_t>(12, 60));
        std::vector<std::string> lines;
        for (int n = 1; n <= 12; ++n)
            lines.push_back(std::to_string(n) + " P" + std::to_string(n));
        ProgramNamesResult names = ParseProgramNames(test::namesFile(1, lines), catalogue);
        ASSERT_TRUE(names.outcome.ok());
        catalogue.applyNames(std::move(names.names));
        // Program 13 is past the catalogue: it has no long label.
        file = LoadProtocolFile(protocolFile({{2, 13, 4}}, {{{{3, 12}, 1, 2, 3}, {{13}, 0, 4, 5}}})).file;
        texts = ParseProtocolTexts("#E\nNeck\nWrist\nAnkle\nKnee\n#P\nFirst\n A\n B\n#S\nOne\nTwo\n");
    }
    ProgramCatalogue catalogue;
    ProtocolFile file;
    ProtocolTexts texts;
    ProtocolBrowser browser;
};

TEST_F(Browser, ItemClickShowsProgramsAndElectrodes) {
    EXPECT_EQ(browser.itemListToLoad(), nullptr);
    const ProtocolNodeView view = browser.selectTreeNode(1, file, texts, catalogue);
    EXPECT_TRUE(view.isItem);
    EXPECT_EQ(view.programLines, (std::vector<std::string>{"  3 P3 [01:00]", " 12 P12 [01:00]"}));
    EXPECT_EQ(view.electrodeLines, (std::vector<std::string>{"Neck", "Wrist", "Ankle"}));
    ASSERT_NE(browser.itemListToLoad(), nullptr);
    EXPECT_EQ(browser.itemListToLoad()->size(), 2);
}

TEST_F(Browser, UnknownProgramsAndElectrodesShowNothing) {
    const ProtocolNodeView view = browser.selectTreeNode(2, file, texts, catalogue);
    EXPECT_TRUE(view.programLines.empty());
    EXPECT_EQ(view.electrodeLines, (std::vector<std::string>{"", "Knee", ""}));
    EXPECT_EQ(std::vector<uint32_t>(browser.currentItemList().begin(), browser.currentItemList().end()),
              std::vector<uint32_t>{13});
}

TEST_F(Browser, ProtocolNodeOrNodeBeyondTheFileClearsTheItemChoice) {
    browser.selectTreeNode(1, file, texts, catalogue);
    for (int position : {0, 3, -1}) {
        browser.selectTreeNode(1, file, texts, catalogue);
        const ProtocolNodeView view = browser.selectTreeNode(position, file, texts, catalogue);
        EXPECT_FALSE(view.isItem);
        EXPECT_TRUE(view.programLines.empty());
        EXPECT_TRUE(view.electrodeLines.empty());
        EXPECT_EQ(browser.itemListToLoad(), nullptr) << position;
    }
}

TEST_F(Browser, SessionLinesSkipNumbersWithoutName) {
    EXPECT_EQ(ProtocolBrowser::sessionLines(0, file, catalogue),
              (std::vector<std::string>{"  2 P2 [01:00]", "  4 P4 [01:00]"}));
    EXPECT_TRUE(ProtocolBrowser::sessionLines(1, file, catalogue).empty());
    EXPECT_EQ(ProtocolBrowser::sessionList(1, file), nullptr);
    ASSERT_NE(ProtocolBrowser::sessionList(0, file), nullptr);
    EXPECT_EQ(ProtocolBrowser::sessionList(0, file)->size(), 3);
}

} // namespace
} // namespace trv
