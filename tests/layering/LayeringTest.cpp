// The folders of src/ are layers: a file includes only its own folder and the ones below it, and
// the widget-free layers include no Qt header. Each break is reported with its file and line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Layer {
    int rank;
    bool widgetFree;
};

// hid, sim and check stand side by side: none may include another.
const std::map<std::string, Layer> Layers = {
    {"data", {0, true}}, {"link", {1, true}},  {"program", {2, true}},  {"logic", {3, true}}, {"hid", {4, true}},
    {"sim", {4, true}},  {"check", {4, true}}, {"widgets", {5, false}}, {"app", {6, false}},
};

// The breaks in one file's text, as "FILE:LINE: what".
std::vector<std::string> Breaks(const std::string& layer, const std::string& file, const std::string& text) {
    static const std::regex projectInclude(R"(^\s*#\s*include\s*"([^/"]+)/[^"]*")");
    static const std::regex qtInclude(R"(^\s*#\s*include\s*<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*)>)");
    const Layer& own = Layers.at(layer);
    std::vector<std::string> breaks;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const std::string at = file + ":" + std::to_string(number) + ": ";
        std::smatch match;
        if (std::regex_search(line, match, projectInclude)) {
            const std::string folder = match[1];
            const auto included = Layers.find(folder);
            if (included == Layers.end())
                breaks.push_back(at + "includes unknown folder " + folder + ": " + line);
            else if (folder != layer && included->second.rank >= own.rank)
                breaks.push_back(at + layer + " includes " + folder + ", which is not below it: " + line);
        } else if (own.widgetFree && std::regex_search(line, match, qtInclude)) {
            breaks.push_back(at + "widget-free " + layer + " includes a Qt header: " + line);
        }
    }
    return breaks;
}

TEST(Layering, TheCheckSeesEachKindOfBreak) {
    EXPECT_TRUE(Breaks("logic", "f.cpp", "#include \"data/X.h\"\n#include \"logic/Y.h\"\n#include <vector>\n").empty());
    EXPECT_TRUE(Breaks("widgets", "f.cpp", "#include <QLabel>\n#include \"logic/Y.h\"\n").empty());
    const struct {
        const char* layer;
        const char* text;
    } cases[] = {
        {"data", "#include \"logic/MainController.h\""}, // upward
        {"sim", "#include \"hid/HidapiBackend.h\""},     // sideways
        {"logic", "  #  include <QTimer>"},              // Qt below the windows
        {"link", "#include <QtCore/QString>"},
        {"program", "#include \"download/Old.h\""}, // a folder that is no layer
    };
    for (const auto& c : cases) {
        const std::vector<std::string> found = Breaks(c.layer, "f.cpp", std::string("// first\n") + c.text + "\n");
        ASSERT_EQ(found.size(), 1u) << c.text;
        EXPECT_EQ(found[0].rfind("f.cpp:2: ", 0), 0u) << found[0];
    }
}

TEST(Layering, SourceFoldersIncludeOnlyDownwardAndNoQtBelowTheWindows) {
    const std::filesystem::path root = TRV_SOURCE_DIR;
    std::vector<std::string> breaks;
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::filesystem::path& path = entry.path();
        if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp"))
            continue;
        const std::string layer = path.lexically_relative(root).begin()->string();
        ASSERT_TRUE(Layers.count(layer)) << path << " lies in a folder that is no layer";
        std::ifstream file(path, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        for (std::string& found : Breaks(layer, path.lexically_relative(root.parent_path()).string(), text.str()))
            breaks.push_back(std::move(found));
        ++files;
    }
    EXPECT_GT(files, 50);
    for (const std::string& found : breaks)
        ADD_FAILURE() << found;
}

} // namespace
