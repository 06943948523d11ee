#pragma once

// A small form for the runtime's tests: a few controls and hooks that record what happens.

#include "forms/Form.h"
#include "forms/Runtime.h"

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

class TestForm : public forms::Form {
  public:
    TestForm(forms::Runtime& runtime, std::string name, std::vector<std::string>* log = nullptr)
        : Form(runtime, std::move(name)), log_(log) {
        box.Move(100, 100, 1500, 400);
        ok.Caption = "&Ok";
        other.Caption = "A&nderes";
    }

    forms::TextBox box{*this, "box"};
    forms::CommandButton ok{*this, "ok"};
    forms::CommandButton other{*this, "other"};
    forms::Timer timer{*this, "timer"};

    void Form_Activate() override {
        ++activations;
        record("activate " + name());
        if (onActivate) {
            onActivate();
        }
    }

    void record(const std::string& what) {
        if (log_ != nullptr) {
            log_->push_back(what);
        }
    }

    void quit() { End(); }
    void message(const std::string& prompt, std::function<void()> then = {}) {
        MsgBox(prompt, 0, name(), std::move(then));
    }

    int activations = 0;
    std::function<void()> onActivate;

  private:
    std::vector<std::string>* log_;
};

} // namespace testing_support
