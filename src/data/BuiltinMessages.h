#pragma once

#include "data/TextTables.h"

#include <string>

namespace trv {

// The English text of message k that the application carries itself, for when no msg.txt has
// filled that entry (no settings file, a wrong folder, a msg.txt older than the message). A "+"
// of the files is a line break here already. Numbers without a use of their own say
// "Unexpected error (k)." so that a report can name them; empty outside 0 to 49.
std::string BuiltinMessage(int k);

// Message k as every window shows it: the loaded text, or the built-in one where the entry is empty.
std::string MessageText(const MessageTable& messages, int k);

} // namespace trv
