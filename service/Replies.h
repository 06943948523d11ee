#pragma once

// The service's answers as JSON text.

#include "Records.h"

#include <string>
#include <string_view>
#include <vector>

namespace zifferix::service {

// "2027-03-10T11:00:00Z"
std::string isoTime(long long seconds);

std::string errorJson(std::string_view fehler);
std::string openedJson(const OpenedClass& opened);
std::string publicJson(const PublicClass& found);
std::string idJson(std::string_view id);
std::string boardJson(const Board& board);
std::string childJson(std::string_view name, const std::vector<StoredResult>& games);
std::string healthJson(bool password, int maxDays);

} // namespace zifferix::service
