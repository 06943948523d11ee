#pragma once

// "Wie heißt du?": in a class, before the start screen, the child taps its name in the list the
// teacher gave or types a first name or nickname. The name goes to the class, and the start
// screen comes back; "Nicht du?" there brings this screen again.

#include "forms/Form.h"
#include "start/Zifferix.h"

#include <memory>
#include <string>
#include <vector>

namespace zifferix {

class frmName : public forms::Form {
  public:
    // The most names of a teacher's list that the screen has room for.
    static constexpr std::size_t kMostNames = 60;

    frmName(Zifferix& program, std::string className, std::vector<std::string> children);

    forms::Label lblFrage{*this, "lblFrage"};
    forms::Label lblKlasse{*this, "lblKlasse"}; // the class's name, small
    forms::Label lblName{*this, "lblName"};
    forms::TextBox txtName{*this, "txtName"};
    forms::CommandButton cmdLos{*this, "cmdLos"};
    // A button for every name of the teacher's list, in its order.
    std::vector<std::unique_ptr<forms::CommandButton>> cmdKind;

    void Form_Activate() override;
    // Closing the window keeps the name the child had; without one, the program ends, as
    // closing the start screen does.
    void Form_QueryClose() override;
    bool relaysOut() const override { return true; }
    void Form_Resize() override { place(); }
    std::string Spoken() const override;

  private:
    void dress();
    void place();
    void txtName_KeyPress(int& KeyAscii);
    void cmdLos_Click();
    void take(const std::string& name);

    Zifferix& program_;
    std::vector<std::string> children_;
};

} // namespace zifferix
