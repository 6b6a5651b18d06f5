// Runs a fuzz target's entry point once on every file of the given folders (or on the given
// files), without libFuzzer. A violated invariant aborts the process; a folder without any file
// fails too, so a corpus that went missing is not taken for a clean run.
#include "FuzzSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace {

bool readFile(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " <corpus folder or file>...\n";
        return 2;
    }
    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(arg, error)) {
            const size_t before = files.size();
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg, error))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            if (error || files.size() == before) {
                std::cerr << arg << ": no corpus files\n";
                return 1;
            }
        } else if (std::filesystem::is_regular_file(arg, error)) {
            files.push_back(arg);
        } else {
            std::cerr << arg << ": not found\n";
            return 1;
        }
    }
    std::sort(files.begin(), files.end());

    std::vector<uint8_t> bytes;
    for (const auto& file : files) {
        if (!readFile(file, bytes)) {
            std::cerr << file << ": can't be read\n";
            return 1;
        }
        // Named before the run, so an abort inside shows which input caused it.
        std::cerr << "running " << file.string() << " (" << bytes.size() << " bytes)\n";
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::cout << "replayed " << files.size() << " inputs\n";
    return 0;
}
