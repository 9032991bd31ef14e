// The clock behind "%TIME%", "%SHORTDATE%" and "%DATE%", read at the moment
// of each call.

#include <windows.h>

#include "macros/Macros.h"

namespace vireo {

namespace {

// The current calendar time in the process's time zone; a zeroed time (which
// still formats) in the unlikely case the runtime cannot convert it.
std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (const std::tm* converted = std::localtime(&now)) local = *converted;
    return local;
}

}  // namespace

std::string getTimeText() { return formatTimeText(localNow()); }

std::string getDateText() { return formatDateText(localNow()); }

// The short date comes from the system's own local date.
std::string getShortDateText() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    std::tm local{};
    local.tm_year = now.wYear - 1900;
    local.tm_mon = now.wMonth - 1;
    local.tm_mday = now.wDay;
    return formatShortDateText(local);
}

}  // namespace vireo
