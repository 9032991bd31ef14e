#include "commands/StatusReport.h"

namespace vireo {

std::string statusReport(StatusForm) {
    return "Vireo status\n";
}

}  // namespace vireo
