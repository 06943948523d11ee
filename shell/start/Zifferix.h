#pragma once

// The program: the shared state and one instance of every screen, each created when it is
// first needed and kept for the whole run.

#include "Module1.h"
#include "Runtime.h"

#include <array>
#include <memory>

namespace zifferix {

class frmstart;

enum class Game { Uhr, Berg, Bruchteile, Netz, Waage, Ballon, Wander };
constexpr std::size_t kGameCount = 7;

class Zifferix {
  public:
    explicit Zifferix(forms::Runtime& runtime);
    ~Zifferix();
    Zifferix(const Zifferix&) = delete;
    Zifferix& operator=(const Zifferix&) = delete;

    // Shows the start screen; the program runs until its exit button.
    void run();

    forms::Runtime& runtime() const { return runtime_; }
    Module1& shared() { return shared_; }
    frmstart& start() { return *start_; }
    forms::Form& screen(Game game);

  private:
    forms::Runtime& runtime_;
    Module1 shared_;
    std::unique_ptr<frmstart> start_;
    std::array<std::unique_ptr<forms::Form>, kGameCount> games_;
};

} // namespace zifferix
