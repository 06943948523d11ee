#pragma once

// What the runtime needs from the world outside, behind small interfaces so that tests fake
// them: the real program gets them from its view, the desktop's or the page's.

#include <functional>
#include <string>

namespace forms {

struct Font;

struct Size {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

class MessageBoxService {
  public:
    virtual ~MessageBoxService() = default;
    // Modal: the program takes no input and its time stands still until the child has dismissed
    // the message; then `closed` runs. A desktop waits for that before show returns; a browser
    // cannot wait inside a handler, and calls `closed` later.
    virtual void show(const std::string& prompt, int style, const std::string& title,
                      std::function<void()> closed) = 0;
};

class ScreenService {
  public:
    virtual ~ScreenService() = default;
    // The screen's width in twips, as a form that lays itself out now should see it.
    virtual int widthTwips() const = 0;
    // The inner size of a maximized window, in twips.
    virtual Size clientSizeTwips() const = 0;
    // A form has been activated and lays itself out for this width: the view shows the screens
    // zoomed for that layout until the next activation.
    virtual void laidOut(int /*widthTwips*/) {}
};

class TextMetricsService {
  public:
    virtual ~TextMetricsService() = default;
    // The size of a one-line text in this font, in twips.
    virtual Size measure(const Font& font, const std::string& text) const = 0;
};

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // A value in [0, 1).
    virtual float next() = 0;
    // Seeds anew from whatever the source counts as the clock.
    virtual void randomize() = 0;
};

class ProgramEnd {
  public:
    virtual ~ProgramEnd() = default;
    virtual void end() = 0;
};

struct Services {
    MessageBoxService& messageBox;
    ScreenService& screen;
    TextMetricsService& textMetrics;
    RandomSource& random;
    ProgramEnd& programEnd;
};

} // namespace forms
