#pragma once

// What a screen reader is told beyond what it reads from the controls: what has just changed in
// play, said politely, in the screens' own words. A screen says it while it handles an event;
// the runtime adds the problem a box poses when the child can answer it; each view takes what
// was said after the event and hands it to its screen readers, and to the voice that reads
// aloud, which also hears what a screen reader reads by itself (the control that takes the
// focus).

#include <deque>
#include <string>

namespace forms {

// One event's words.
struct Said {
    std::string heard;    // for a screen reader: all of it, in order
    std::string read;     // for the voice: what comes now
    bool problem = false; // `read` poses a new problem, which the next one makes old
    std::string later;    // for the voice: what waits until it has said what it is saying
    bool operator==(const Said&) const = default;
};

class Speech {
  public:
    enum class Part { Now, Later, Problem, VoiceOnly, ScreenReaderOnly };

    // A verdict or what has changed: said at once.
    void say(std::string text) { add(Part::Now, std::move(text)); }
    // What may wait until what is being said is done (the time left).
    void sayLater(std::string text) {
        add(Part::Later, std::move(text));
        endsLater_ = !pieces_.empty();
    }
    // The problem a box poses, after the event's other words.
    void pose(std::string problem) { add(Part::Problem, std::move(problem)); }
    // Only what waits has been said since the last problem: the problem is said again after it.
    bool waitsForProblem() const { return endsLater_; }
    void poseLater(std::string problem) {
        add(Part::Later, std::move(problem));
        endsLater_ = false;
    }
    // What a screen reader reads by itself, and only a voice needs to be told.
    void sayToVoice(std::string text) { add(Part::VoiceOnly, std::move(text)); }
    // What a voice is told in other words (the whole control, where this is what changed).
    void sayToScreenReader(std::string text) { add(Part::ScreenReaderOnly, std::move(text)); }

    // Everything said since the last take; empty texts when nothing was.
    Said take() {
        Said said;
        std::string later;
        for (const Piece& p : pieces_) {
            if (p.part != Part::VoiceOnly) {
                join(said.heard, p.text);
            }
            if (p.part == Part::Later) {
                join(later, p.text);
            } else if (p.part != Part::ScreenReaderOnly) {
                join(said.read, p.text);
                said.problem = said.problem || p.part == Part::Problem;
            }
        }
        // Words that come now take what would have waited with them.
        if (said.read.empty()) {
            said.later = std::move(later);
        } else if (!later.empty()) {
            join(said.read, later);
        }
        pieces_.clear();
        endsLater_ = false;
        return said;
    }

  private:
    struct Piece {
        Part part;
        std::string text;
    };
    static void join(std::string& to, const std::string& text) {
        to += (to.empty() ? "" : " ") + text;
    }
    void add(Part part, std::string text) {
        if (text.empty()) {
            return;
        }
        if (pieces_.size() == kKept) {
            pieces_.pop_front(); // nobody is taking it: the oldest goes
        }
        pieces_.push_back({part, std::move(text)});
        endsLater_ = endsLater_ && part == Part::Later;
    }

    static constexpr std::size_t kKept = 16;
    std::deque<Piece> pieces_;
    bool endsLater_ = false;
};

} // namespace forms
