#pragma once

#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Message.h"
#include "forms/ReadingAloud.h"
#include "forms/Services.h"
#include "forms/Speech.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace forms {

enum class Navigation { Next, Previous, Left, Right, Up, Down };

// The platform every screen runs on: the modal stack, virtual time and its timers, focus and
// key delivery. Events come in one at a time; after each handler the runtime unwinds the modal
// stack, sizes labels to their captions, repairs the focus and schedules the timers.
class Runtime {
  public:
    explicit Runtime(Services services);
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // The start-up form: shown and activated; the program runs until End.
    void start(Form& startup);
    bool ended() const { return ended_; }
    // A message box is open: no input is taken and time stands still.
    bool messageOpen() const { return message_.has_value(); }
    const std::optional<Message>& openMessage() const { return message_; }

    // Input from the child, always for the active form.
    void click(Control& control);
    void keyPress(int keyAscii);
    // Text pasted or dropped: typed into the focused box one character at a time, line breaks
    // and other control characters left out; on anything but a box it does nothing.
    void paste(std::string_view text);
    void navigate(Navigation key);
    // Alt + the letter after "&" in a caption; false when no button or option has it, so that
    // the key is left to whoever else may want it.
    bool mnemonic(char32_t letter);
    void focus(Control& control); // put there by the mouse
    void close(Form& form);       // the window's close box
    // Lets ms of virtual time pass, delivering every due tick in time order.
    void advance(std::int64_t ms);
    // Runs code as one event, with the runtime's bookkeeping after it.
    void run(const std::function<void()>& handler);

    // The view's area has changed: every form takes the screen's new inner size, and labels
    // are measured again at the new zoom. A screen keeps its layout until its next activation.
    void screenChanged();
    // Screen.Width as the active form laid itself out for it.
    int screenWidth() const { return screenWidth_.value_or(services_.screen.widthTwips()); }

    // What the view shows.
    const std::vector<Form*>& forms() const { return forms_; }
    Form* activeForm() const;
    // The form the program started with, beneath every other; nothing before start.
    Form* startupForm() const { return stack_.empty() ? nullptr : stack_.front().form; }
    bool animating() const;
    // Counts every form made, shown, hidden or brought to the front: a view that has seen this
    // count has every window where it belongs, and after a tick brings only the front one up
    // to date.
    std::uint64_t formChanges() const { return formChanges_; }
    // When the next tick is due, in virtual time; nothing while no timer runs.
    std::optional<std::int64_t> nextDue() const;
    std::int64_t now() const { return now_; }

    // What the screens have said for a screen reader; the view takes it after every event.
    Speech& speech() { return speech_; }
    // Takes what was said, hands it to the voice when reading aloud, and gives what a screen
    // reader is told.
    std::string takeSpoken();
    // Reading aloud with this voice, or no more (nullptr).
    void readAloud(Voice* voice);
    ReadingAloud* reading() { return reading_ ? &*reading_ : nullptr; }
    // The key or the speaker sign: what the form in front shows now, said again.
    void sayAgain();
    // The text of a picture that shows text (the welcome, a game's instructions), as the view
    // that draws it reads it; nothing where no view has said.
    std::function<std::string(const Picture&)> pictureText;

    Services& services() { return services_; }
    const Services& services() const { return services_; }

  private:
    friend class Form;
    friend class Control;
    friend class OptionButton;
    friend class Timer;

    struct ModalEntry {
        Form* form;
        std::function<void()> whenHidden;
    };

    void add(Form& form);
    void remove(Form& form);
    void show(Form& form, std::function<void()> whenHidden);
    void activate(Form& form);
    void takeScreen(int width);
    void takeClientSize();
    void hide(Form& form);
    void setFocus(Control& control);
    void message(const std::string& prompt, int style, const std::string& title,
                 std::function<void()> then);
    void end();
    bool takesInput() const { return !busy_ && !ended_ && !message_; }

    void dispatch(const std::function<void()>& handler);
    void settle();
    void unwind();
    void sizeLabels();
    void repairFocus(Form& form);
    void scheduleTimers();
    void sayNewDescription();
    static std::string spokenName(const Control& control);

    static std::vector<Control*> inTabOrder(const Form& form);
    static std::vector<Control*> tabOrder(const Form& form);
    static Control* firstFocusable(const Form& form);
    static Control* focusAfter(const Form& form, const Control* from, int direction);
    void pressKeyOnTextBox(TextBox& box, int keyAscii);
    void moveWithinOptions(OptionButton& option, int direction);
    void choose(OptionButton& option);

    Services services_;
    std::vector<Form*> forms_;
    std::vector<ModalEntry> stack_;
    Form* active_ = nullptr; // the form that last got Form_Activate as the top of the stack
    std::int64_t now_ = 0;
    std::uint64_t formChanges_ = 0;
    std::optional<int> screenWidth_; // from the first activation on
    bool busy_ = false;
    bool ended_ = false;
    std::optional<Message> message_;
    Speech speech_;
    // The focused control of the form in front and its description, as last said.
    const Control* described_ = nullptr;
    std::string description_;
    const Control* voiced_ = nullptr; // the focused control the voice was last told of
    std::optional<ReadingAloud> reading_;
};

} // namespace forms
