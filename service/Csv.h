#pragma once

// A class's results for a spreadsheet: one row per problem answered, as LibreOffice and a German
// Excel open it (UTF-8 with BOM, ';', CRLF, decimal comma), no cell read as a formula.

#include "Records.h"

#include <string>
#include <string_view>
#include <vector>

namespace zifferix::service {

std::string csvExport(const std::vector<StoredResult>& results);

// One text cell: quoted if it must be, a leading ' before what a spreadsheet would compute.
std::string csvText(std::string_view text);

// "2,4": seconds with a decimal comma, as few digits as they need.
std::string csvNumber(double value);

} // namespace zifferix::service
