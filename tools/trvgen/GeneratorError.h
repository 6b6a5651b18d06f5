#pragma once

#include <stdexcept>
#include <string>

namespace trv::gen {

// A fault in the source tables; the message names the file and line so it can be fixed there.
class GeneratorError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline GeneratorError sourceError(const std::string& file, int line, const std::string& what) {
    return GeneratorError(file + ":" + std::to_string(line) + ": " + what);
}

} // namespace trv::gen
