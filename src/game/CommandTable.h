#pragma once
// The ordered list of console command words and their handlers.

#include <string>
#include <vector>

namespace vireo {

// Takes the matched word and the rest of the line.
using CommandHandler = void (*)(std::string word, std::string rest);

struct CommandEntry {
    std::string word;
    CommandHandler handler;
};

// Words are compared exactly: same length, same bytes, letter case counts.
class CommandTable {
public:
    bool addCommand(std::string word, CommandHandler handler);
    bool removeCommand(std::string word);
    [[nodiscard]] const CommandEntry* find(const std::string& word) const noexcept;
    [[nodiscard]] const std::vector<CommandEntry>& entries() const noexcept { return entries_; }

private:
    std::vector<CommandEntry> entries_;
};

}  // namespace vireo
