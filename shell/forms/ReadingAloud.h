#pragma once

// Reading aloud for a child who cannot read well yet: the same words a screen reader gets, said
// by a voice of the device. Nothing piles up: a new problem cuts off what is still being said
// about the old one, but a verdict or the end is said whole before anything that follows it,
// and of what waits only the newest waits.

#include "forms/Speech.h"

#include <optional>
#include <string>

namespace forms {

class Voice {
  public:
    virtual ~Voice() = default;
    // Says a German text at once, cutting off whatever it was saying; the view tells the
    // reading when it is done (ReadingAloud::done).
    virtual void say(const std::string& text) = 0;
};

class ReadingAloud {
  public:
    explicit ReadingAloud(Voice& voice) : voice_(voice) {}

    // What an event said.
    void hear(const Said& said);
    // Said again on request: at once, whatever is being said.
    void again(const std::string& text);
    // The voice has finished (or failed, or was cut off by the device): what waits comes.
    void done();

    bool speaking() const { return speaking_.has_value(); }

  private:
    struct Utterance {
        std::string text;
        bool cutOff = false; // a newer problem may cut it off
        bool later = false;  // it may wait, and a newer one that may wait replaces it
    };
    void start(Utterance utterance);

    Voice& voice_;
    std::optional<Utterance> speaking_;
    std::optional<Utterance> waiting_;
};

} // namespace forms
