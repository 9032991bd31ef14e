#include "commands/CommandSet.h"

namespace vireo {

void commandSetHandler(std::string, std::string) {}

}  // namespace vireo
