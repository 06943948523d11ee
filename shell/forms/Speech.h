#pragma once

// What a screen reader is told beyond what it reads from the controls: what has just changed in
// play, said politely, in the screens' own words. A screen says it while it handles an event;
// the runtime adds the new description of the control that keeps the focus (a box's next
// problem); each view takes what was said after the event and hands it to its screen readers.

#include <deque>
#include <string>

namespace forms {

class Speech {
  public:
    void say(std::string text) {
        if (text.empty()) {
            return;
        }
        if (said_.size() == kKept) {
            said_.pop_front(); // nobody is taking it: the oldest goes
        }
        said_.push_back(std::move(text));
    }

    // Everything said since the last take, in order, as one text; empty when nothing was.
    std::string take() {
        std::string text;
        for (const std::string& s : said_) {
            text += (text.empty() ? "" : " ") + s;
        }
        said_.clear();
        return text;
    }

  private:
    static constexpr std::size_t kKept = 16;
    std::deque<std::string> said_;
};

} // namespace forms
