#pragma once

// The runtime made visible in a browser page: one layer of elements per form, stacked in the
// page with the active form on top; clicks, keys and text fed back into the runtime; and a
// frame driver that asks the browser for animation frames only while a visible form has an
// enabled timer, so that an idle page requests none.

#include "forms/FrameClock.h"
#include "forms/Keys.h"
#include "forms/Runtime.h"
#include "forms/Sync.h"
#include "web/Bindings.h"
#include "web/WebServices.h"

#include <memory>
#include <string>
#include <vector>

namespace web {

// A key as the page's keydown event reports it.
struct KeyEvent {
    std::string key;  // the character, or the key's name ("Enter", "ArrowLeft")
    std::string code; // the key's place on the keyboard ("NumpadDecimal", "KeyL")
    bool alt = false;
    bool ctrl = false;
    bool meta = false;
    bool altGraph = false;
    bool shift = false;
    bool repeat = false;
};

class View {
  public:
    View(forms::Runtime& runtime, WebServices& services);
    ~View();
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // Brings every layer up to date with its form, after any event.
    void afterEvent();

    // Input from the page. Elements are named by the id the view gave them.
    void click(int id);
    void focus(int id);
    // The close box of a game's layer, as a window's close box on the desktop.
    void close(int layer);
    // True when the key was the program's, so that the browser must not act on it too.
    bool key(const KeyEvent& event);
    // Text that came without keys (a tablet's keyboard, an input method): one character at a
    // time, as if typed.
    void text(const std::string& text);
    // Text pasted or dropped: into a box only, as on the desktop.
    void paste(const std::string& text);
    void resize(double width, double height);
    // Whether the child plays by touch: a box then keeps the focus, and the tablet's keyboard
    // stays open, while the game waits between two problems.
    void touch(bool touching) { touch_ = touching; }
    void dismissMessage();
    // More contrast where the browser asks for it (prefers-contrast, forced colours) or a link
    // does; the link's wish holds until another link says otherwise.
    void systemContrast(bool more);
    void linkContrast(bool more);
    // Reading aloud with the browser's German voice, and the speaker sign, or neither.
    void readAloud(bool on);
    // The voice has said what it was saying.
    void voiceDone();

  private:
    // The page's speech (boot.js), which says a text with the device's German voice.
    class PageVoice final : public forms::Voice {
      public:
        void say(const std::string& text) override;
    };

    struct Layer {
        forms::Form* form;
        val node;
        std::vector<Binding*> bindings;
        std::optional<bool> shown;
        std::optional<forms::Color> back;
    };

    void addLayer(forms::Form& form);
    void syncLayer(Layer& layer);
    void showActive();
    void farewell();
    void showScreen();
    void showContrast();
    void speak();
    forms::Control* controlOf(int id) const;
    Binding* bindingOf(const forms::Control* control) const;
    bool keepsKeyboard(const Layer& layer, const forms::Control* focused) const;

    void schedule();
    void requestFrame();
    void cancelWakeUps();
    void frame();
    void afterTick();
    static int onFrame(double time, void* self);
    static void onTimeout(void* self);

    forms::Runtime& runtime_;
    WebServices& services_;
    // A tablet's decimal pad may offer only a point: where a comma is taken, it types one.
    forms::Keyboard keyboard_{runtime_, true};
    val stage_;
    std::vector<Layer> layers_;
    std::vector<std::unique_ptr<Binding>> bindings_; // by id
    forms::Form* raised_ = nullptr;
    forms::SyncRule sync_{runtime_};
    std::string title_;
    std::optional<forms::Zoom> shownZoom_;
    std::optional<bool> askingToTurn_;
    bool touch_ = false;
    bool systemContrast_ = false;
    bool linkContrast_ = false;
    forms::Contrast contrast_ = forms::Contrast::AsDesigned;
    std::optional<forms::Contrast> shownContrast_;
    val spoken_; // the page's polite live region
    PageVoice voice_;

    long frameRequest_ = 0;
    long timeout_ = 0;
    forms::FrameClock clock_{runtime_};
};

} // namespace web
