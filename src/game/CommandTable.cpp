#include "game/CommandTable.h"

#include <algorithm>

namespace vireo {

bool CommandTable::addCommand(std::string word, CommandHandler handler) {
    if (find(word)) return false;
    entries_.push_back(CommandEntry{std::move(word), handler});
    return true;
}

bool CommandTable::removeCommand(std::string word) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const CommandEntry& e) { return e.word == word; });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

const CommandEntry* CommandTable::find(const std::string& word) const noexcept {
    for (const CommandEntry& entry : entries_)
        if (entry.word == word) return &entry;
    return nullptr;
}

}  // namespace vireo
