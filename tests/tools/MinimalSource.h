#pragma once

#include "tools/trvgen/SampleSource.h"

#include <stdexcept>
#include <string>

namespace trv::gen::test {

// A complete, small source folder: two languages, three steps, three programs, two protocols,
// two sessions, and numbered placeholder texts.
inline FileSet minimalSource() {
    FileSet files;
    files["languages.csv"] = "name;folder;codepage;alphabet;flag\n"
                             "English;ENG;1252;English;cross FFFFFF CE1124\n"
                             "Magyar;HUN;1250;Hungarian;bands CE2939 FFFFFF 477050\n";
    files["steps.csv"] = "# comment\n"
                         "id;seconds;device bytes;padding;frequency;span\n"
                         "A;60;29 B4 B4 70 00 00 28 F5 D8;00;10;2\n"
                         "B;30;28 F7 F7 F0 00 00 35 F5 D8;01;1000;500\n"
                         "C;45;2A C8 BE B0 00 00 2C F2 D4;FF;1000000;0\n";
    files["programs.csv"] = "@version;7\n"
                            "number;ENG;HUN;steps\n"
                            "1;Sleep;Alvás;A*2 B\n"
                            "2;Back;Hát;A..C\n"
                            "3;Calm;Nyugalom;C\n";
    files["electrodes.csv"] = "number;ENG;HUN\n"
                              "1;Hand L;Bal kéz\n"
                              "2;Hand R;Jobb kéz\n"
                              "3;Foot;Láb\n";
    files["protocols.csv"] = "kind;ENG;HUN;programs;A;B;C\n"
                             "P;Rest;Pihenés;;;;\n"
                             "I;Night;Éjszaka;1 3;1;2;3\n"
                             "I;Day;Nappal;2 3 1;3;1;2\n"
                             "P;Back;Hát;;;;\n"
                             "I;Whole;Teljes;2;2;3;1\n";
    files["sessions.csv"] = "ENG;HUN;programs\n"
                            "Short;Rövid;3\n"
                            "Long;Hosszú;1 2 3\n";
    for (const char* folder : {"ENG", "HUN"}) {
        std::string messages = "# placeholder texts\n";
        for (int k = 0; k <= 45; ++k)
            messages += std::to_string(k) + ": M" + std::to_string(k) + "\n";
        std::string captions;
        for (int k = 1; k <= 36; ++k)
            captions += "L" + std::to_string(k) + ": L" + std::to_string(k) + "\n";
        for (int k = 0; k <= 44; ++k)
            captions += "C" + std::to_string(k) + ": C" + std::to_string(k) + "\n";
        files[std::string(folder) + "/messages.txt"] = messages;
        files[std::string(folder) + "/captions.txt"] = captions;
    }
    return files;
}

// The file set with the first occurrence of from in one file replaced by to.
inline FileSet withReplaced(FileSet files, const std::string& path, const std::string& from, const std::string& to) {
    std::string& text = files.at(path);
    const size_t at = text.find(from);
    if (at == std::string::npos)
        throw std::logic_error("\"" + from + "\" is not in " + path);
    text.replace(at, from.size(), to);
    return files;
}

} // namespace trv::gen::test
