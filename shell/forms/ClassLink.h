#pragma once

// A class the child came in by: the one thing the program ever sends anywhere. The view fetches
// the class, remembers the child's name for it and sends each ended game, keeping it until it
// has gone; outside a class there is none, and nothing is kept or sent.

#include <string>
#include <vector>

namespace forms {

struct ClassInfo {
    std::string name;                  // the class's name, as the teacher gave it
    std::vector<std::string> children; // the first names the teacher listed; may be empty
    std::string child;                 // the name remembered for this class; empty: ask
};

class ClassLink {
  public:
    virtual ~ClassLink() = default;
    // The child has said its name: the view remembers it for this class.
    virtual void joined(const std::string& child) = 0;
    // A game has ended: the view gives the result an id of its own, keeps it and sends it.
    virtual void ended(const std::string& resultJson) = 0;
};

} // namespace forms
