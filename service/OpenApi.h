#pragma once

#include <string_view>

namespace zifferix::service {

// service/openapi.yaml as it was when the service was built.
extern const std::string_view kOpenApi;

} // namespace zifferix::service
