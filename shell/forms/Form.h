#pragma once

#include "forms/Basic.h"
#include "forms/Controls.h"

#include <functional>
#include <string>
#include <vector>

namespace forms {

class Runtime;

// A screen: one window, its controls as members, its handlers as methods. A form keeps its
// state while hidden and is activated on every Show.
class Form {
  public:
    Form(Runtime& runtime, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::string Caption;
    Color BackColor = colors::ButtonFace;
    // The inner size of the window in twips; the view keeps it up to date.
    int ScaleWidth = 0;
    int ScaleHeight = 0;

    // Shows the form modally above the active one. There is no nested event loop, so what
    // the caller does once this form hides goes into whenHidden; nothing may follow a Show.
    void Show(std::function<void()> whenHidden = {});
    // Hides the form; the modal chain unwinds after the current handler, from the top.
    void Hide();
    bool Visible() const { return visible_; }

    // Runs after every Show and whenever the form becomes the active window again.
    virtual void Form_Activate() {}
    // The child closed the window by its title bar.
    virtual void Form_QueryClose() { Hide(); }
    // Whether the form lays itself out anew while shown, when the screen has changed so that
    // another layout suits it better: then Form_Resize runs. A game keeps the layout it took at
    // its activation, so that nothing in play jumps to another place.
    virtual bool relaysOut() const { return false; }
    virtual void Form_Resize() {}
    // What the form shows now, as a child asks to hear it again: the problem in the box that
    // has the focus, or the control that has it.
    virtual std::string Spoken() const;

    const std::string& name() const { return name_; }
    const std::vector<Control*>& controls() const { return controls_; }
    const std::vector<Timer*>& timers() const { return timers_; }
    Control* ActiveControl() const { return focus_; }
    Runtime& runtime() const { return runtime_; }

  protected:
    Single Rnd();
    void Randomize();
    // A modal message. Whatever the handler does once it is dismissed goes into then, as after a
    // Show: a browser's message is still open when the handler returns.
    void MsgBox(const std::string& prompt, int style, const std::string& title,
                std::function<void()> then = {});
    int ScreenWidth() const;
    void End();
    // Tells a screen reader politely what has just changed (a verdict, the state of the game).
    void Announce(std::string text);
    // What may wait until what is being said is done (the time left): it never cuts off a
    // problem, and the problem is said again after it.
    void AnnounceLater(std::string text);

  private:
    friend class Control;
    friend class Timer;
    friend class Runtime;

    Runtime& runtime_;
    std::string name_;
    bool visible_ = false;
    Control* focus_ = nullptr;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
};

} // namespace forms
