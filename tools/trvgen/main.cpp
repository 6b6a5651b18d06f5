// trvgen <source folder> <output folder>: writes the sample data folder from the source tables.

#include "tools/trvgen/GeneratorError.h"
#include "tools/trvgen/SampleFiles.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

trv::gen::FileSet readFolder(const fs::path& root) {
    trv::gen::FileSet files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        if (!in || !content)
            throw trv::gen::GeneratorError(entry.path().string() + ": can't be read");
        files[fs::relative(entry.path(), root).generic_string()] = content.str();
    }
    return files;
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw trv::gen::GeneratorError(path.string() + ": can't be written");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: trvgen <source folder> <output folder>\n";
        return 2;
    }
    try {
        const fs::path source = argv[1];
        const fs::path output = argv[2];
        if (!fs::is_directory(source))
            throw trv::gen::GeneratorError(source.string() + ": not a folder");
        const trv::gen::FileSet files = trv::gen::sampleFolder(trv::gen::readSampleSource(readFolder(source)));
        for (const auto& [name, bytes] : files)
            writeFile(output / name, bytes);
        std::cout << "trvgen: wrote " << files.size() << " files to " << output.string() << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "trvgen: " << e.what() << "\n";
        return 1;
    }
}
