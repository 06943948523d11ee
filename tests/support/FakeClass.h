#pragma once

// A class for the program to join, as a view's would be: it keeps the names the child chose and
// every result, as the program handed them over.

#include "start/ClassResults.h"
#include "support/Json.h"
#include "support/ProgramHarness.h"

#include <string>
#include <vector>

namespace testing_support {

class FakeClass : public zifferix::ClassLink {
  public:
    void joined(const std::string& child) override { names.push_back(child); }
    void ended(const std::string& resultJson) override { results.push_back(resultJson); }

    // The results read back; a body that is no JSON fails the test that reads it.
    std::vector<Json> read() const {
        std::vector<Json> read;
        for (const std::string& body : results) {
            if (std::optional<Json> json = Json::read(body)) {
                read.push_back(std::move(*json));
            }
        }
        return read;
    }

    std::vector<std::string> names;
    std::vector<std::string> results;
};

// The whole program, come in by a class's link.
class ClassHarness : public ProgramHarness {
  public:
    explicit ClassHarness(zifferix::ClassInfo info = {"3b Dienstag", {}, "Mia"},
                          int screenWidth = kLargeScreen)
        : ProgramHarness(screenWidth) {
        program.joinClass(link, std::move(info));
    }

    FakeClass link;
};

} // namespace testing_support
