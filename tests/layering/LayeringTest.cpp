// The folders of src/ are layers: a file includes only its own folder and the ones below it; the
// core layers include no Qt header, and the layers beside the device's (record, diag) only the
// toolkit's non-graphical modules, named with their module. Each break is reported with its file and line.
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

enum class Qt { None, NonGui, Any };

struct Layer {
    int rank;
    Qt qt;
};

// hid, sim, check, record and diag stand side by side: none may include another.
const std::map<std::string, Layer> Layers = {
    {"data", {0, Qt::None}},     {"link", {1, Qt::None}},    {"program", {2, Qt::None}}, {"logic", {3, Qt::None}},
    {"hid", {4, Qt::None}},      {"sim", {4, Qt::None}},     {"check", {4, Qt::None}},   {"record", {4, Qt::NonGui}},
    {"diag", {4, Qt::NonGui}},   {"widgets", {5, Qt::Any}},  {"app", {6, Qt::Any}},
};

// The breaks in one file's text, as "FILE:LINE: what".
std::vector<std::string> Breaks(const std::string& layer, const std::string& file, const std::string& text) {
    static const std::regex projectInclude(R"(^\s*#\s*include\s*"([^/"]+)/[^"]*")");
    static const std::regex qtInclude(R"(^\s*#\s*include\s*<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*)>)");
    static const std::regex nonGuiInclude(R"(^\s*#\s*include\s*<Qt(Core|Sql|DBus)/[^>]*>)");
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
        } else if (own.qt == Qt::None && std::regex_search(line, match, qtInclude)) {
            breaks.push_back(at + "widget-free " + layer + " includes a Qt header: " + line);
        } else if (own.qt == Qt::NonGui && std::regex_search(line, match, qtInclude) &&
                   !std::regex_search(line, match, nonGuiInclude)) {
            breaks.push_back(at + layer + " includes a graphical or unnamed Qt module: " + line);
        }
    }
    return breaks;
}

TEST(Layering, TheCheckSeesEachKindOfBreak) {
    EXPECT_TRUE(Breaks("logic", "f.cpp", "#include \"data/X.h\"\n#include \"logic/Y.h\"\n#include <vector>\n").empty());
    EXPECT_TRUE(Breaks("widgets", "f.cpp", "#include <QLabel>\n#include \"logic/Y.h\"\n").empty());
    EXPECT_TRUE(Breaks("record", "f.cpp", "#include <QtSql/QSqlQuery>\n#include \"logic/Y.h\"\n").empty());
    const struct {
        const char* layer;
        const char* text;
    } cases[] = {
        {"data", "#include \"logic/MainController.h\""}, // upward
        {"sim", "#include \"hid/HidapiBackend.h\""},     // sideways
        {"logic", "  #  include <QTimer>"},              // Qt below the windows
        {"link", "#include <QtCore/QString>"},
        {"program", "#include \"download/Old.h\""}, // a folder that is no layer
        {"record", "#include <QtWidgets/QWidget>"},  // a graphical module beside the device
        {"diag", "#include <QString>"},              // the module unnamed
        {"record", "#include \"diag/Log.h\""},       // sideways
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
