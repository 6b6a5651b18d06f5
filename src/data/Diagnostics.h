#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trv {

enum class Severity { Error, Warning };

// One thing found in a data file. Text files are placed by line, binary files by record and
// byte offset; a problem of the file as a whole has neither.
struct Problem {
    Severity severity = Severity::Error;
    std::string file; // as the data folder names it, '/' between folder and file
    std::string kind; // a short fixed name of what was found, for tools and tests
    int line = 0;     // 1-based; 0 when not placed by line
    int record = 0;   // 1-based; 0 when not placed by record
    long long offset = -1;
    int message = -1; // the message the application shows for it; -1 when it shows none
    std::string text; // UTF-8

    bool isError() const { return severity == Severity::Error; }
};

// Collects problems as the readers meet them. A reader handed a sink goes on past the first
// problem and reports the rest; without one it behaves as the application needs it to.
class Diagnostics {
public:
    // The file the next reports are about.
    void setFile(std::string file) { file_ = std::move(file); }
    const std::string& file() const { return file_; }

    void lineError(int line, int message, std::string kind, std::string text) {
        add(Severity::Error, line, 0, -1, message, std::move(kind), std::move(text));
    }
    void lineWarning(int line, std::string kind, std::string text) {
        add(Severity::Warning, line, 0, -1, -1, std::move(kind), std::move(text));
    }
    void recordError(int record, long long offset, int message, std::string kind, std::string text) {
        add(Severity::Error, 0, record, offset, message, std::move(kind), std::move(text));
    }
    void recordWarning(int record, long long offset, std::string kind, std::string text) {
        add(Severity::Warning, 0, record, offset, -1, std::move(kind), std::move(text));
    }
    void fileError(int message, std::string kind, std::string text) {
        add(Severity::Error, 0, 0, -1, message, std::move(kind), std::move(text));
    }
    void fileWarning(std::string kind, std::string text) {
        add(Severity::Warning, 0, 0, -1, -1, std::move(kind), std::move(text));
    }

    const std::vector<Problem>& problems() const { return problems_; }
    int errorCount() const;
    int warningCount() const;

private:
    void add(Severity severity, int line, int record, long long offset, int message, std::string kind,
             std::string text) {
        problems_.push_back({severity, file_, std::move(kind), line, record, offset, message, std::move(text)});
    }

    std::string file_;
    std::vector<Problem> problems_;
};

inline int Diagnostics::errorCount() const {
    int n = 0;
    for (const Problem& p : problems_)
        n += p.isError() ? 1 : 0;
    return n;
}

inline int Diagnostics::warningCount() const {
    return static_cast<int>(problems_.size()) - errorCount();
}

// A stored data-folder path as problems name it: '/' for the stored backslash.
inline std::string ShownPath(std::string_view stored) {
    std::string path(stored);
    for (char& c : path)
        c = c == '\\' ? '/' : c;
    return path;
}

} // namespace trv
