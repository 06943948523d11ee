// Zifferix in the browser: the same program as on the desktop, made visible in the page. The
// page's script loads the fonts and this module, then calls start(); from then on it hands every
// click, key, text, resize and dismissed message to the functions below.

#include "app/Screens.h"
#include "start/Zifferix.h"
#include "start/frmstart.h"
#include "web/View.h"
#include "web/WebServices.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>
#include <malloc.h>
#if __has_feature(address_sanitizer)
#include <sanitizer/allocator_interface.h>
#define ZIFFERIX_ASAN 1
#endif

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace {

// The class the child came in by, for this page's every run: the page's own object remembers
// the name and keeps and sends the results (klasse.js).
class PageClass final : public zifferix::ClassLink {
  public:
    PageClass(emscripten::val page, zifferix::ClassInfo info)
        : page_(std::move(page)), info_(std::move(info)) {}

    // What the next run starts with: the name the child chose in this one stays.
    const zifferix::ClassInfo& info() const { return info_; }

    void joined(const std::string& child) override {
        info_.child = child;
        page_.call<void>("joined", child);
    }

    void ended(const std::string& resultJson) override { page_.call<void>("ended", resultJson); }

  private:
    emscripten::val page_;
    zifferix::ClassInfo info_;
};

std::unique_ptr<PageClass> pageClass;

// One run of the program: from the start screen until "Aus und Schluss".
struct Run {
    Run(double width, double height) : services(width, height) {}

    web::WebServices services;
    forms::Runtime runtime{services.services()};
    zifferix::Zifferix program{runtime, zifferix::screens()};
    web::View view{runtime, services};
};

std::unique_ptr<Run> run;

void start(double width, double height) {
    run.reset(); // the last run's layers go before the new run's come
    run = std::make_unique<Run>(width, height);
    if (pageClass) {
        run->program.joinClass(*pageClass, pageClass->info());
    }
    run->program.run();
    run->view.afterEvent();
}

// The class of the page's link, before the first start: its name, the teacher's list of first
// names, one a line (a name holds no control character), and the name remembered for it;
// `page` takes what the program gives the class.
void joinClass(emscripten::val page, const std::string& name, const std::string& children,
               const std::string& child) {
    zifferix::ClassInfo info{name, {}, child};
    for (std::size_t at = 0; at < children.size();) {
        const std::size_t end = std::min(children.find('\n', at), children.size());
        info.children.push_back(children.substr(at, end - at));
        at = end + 1;
    }
    pageClass = std::make_unique<PageClass>(std::move(page), std::move(info));
}

// A link's game and level ("#waage-normal"), chosen while the start screen is in front; any
// other text chooses nothing.
void choose(const std::string& link) {
    const std::optional<zifferix::Choice> choice = zifferix::choiceOfLink(link);
    if (!run || !choice) {
        return;
    }
    run->view.linkContrast(choice->contrast);
    run->view.readAloud(choice->readAloud);
    if (run->program.choose(*choice)) {
        run->view.afterEvent();
    }
}

// The page's voice has said what it was saying.
void voiceDone() {
    if (run) {
        run->view.voiceDone();
    }
}

// The speaker sign or F2: what the screen shows, said again.
void again() {
    if (run) {
        run->runtime.sayAgain();
    }
}

// The browser asks for more contrast (prefers-contrast: more, or forced colours), or no more.
void contrast(bool more) {
    if (run) {
        run->view.systemContrast(more);
    }
}

void click(int id) {
    if (run) {
        run->view.click(id);
    }
}

void focus(int id) {
    if (run) {
        run->view.focus(id);
    }
}

void close(int layer) {
    if (run) {
        run->view.close(layer);
    }
}

bool key(const std::string& key, const std::string& code, bool alt, bool ctrl, bool meta,
         bool altGraph, bool shift, bool repeat) {
    return run && run->view.key({key, code, alt, ctrl, meta, altGraph, shift, repeat});
}

void text(const std::string& typed) {
    if (run) {
        run->view.text(typed);
    }
}

void paste(const std::string& pasted) {
    if (run) {
        run->view.paste(pasted);
    }
}

void resize(double width, double height) {
    if (run) {
        run->view.resize(width, height);
    }
}

void touch(bool touching) {
    if (run) {
        run->view.touch(touching);
    }
}

// The program takes keys: it runs, and no message waits for its OK.
bool playing() {
    return run && !run->runtime.ended() && !run->runtime.messageOpen();
}

// Leaving the page would lose the table's points: the page asks first.
bool holdsPoints() {
    return run && !run->runtime.ended() && run->program.start().holdsPoints();
}

void dismissMessage() {
    if (run) {
        run->view.dismissMessage();
    }
}

// The program's memory in use, in bytes, which the storms watch for growth: AddressSanitizer's
// allocator keeps its own count, and no mallinfo.
double heapInUse() {
#ifdef ZIFFERIX_ASAN
    return static_cast<double>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<double>(mallinfo().uordblks);
#endif
}

} // namespace

EMSCRIPTEN_BINDINGS(zifferix) {
    emscripten::function("start", &start);
    emscripten::function("joinClass", &joinClass);
    emscripten::function("choose", &choose);
    emscripten::function("click", &click);
    emscripten::function("focus", &focus);
    emscripten::function("close", &close);
    emscripten::function("key", &key);
    emscripten::function("text", &text);
    emscripten::function("paste", &paste);
    emscripten::function("resize", &resize);
    emscripten::function("touch", &touch);
    emscripten::function("contrast", &contrast);
    emscripten::function("voiceDone", &voiceDone);
    emscripten::function("again", &again);
    emscripten::function("dismissMessage", &dismissMessage);
    emscripten::function("holdsPoints", &holdsPoints);
    emscripten::function("playing", &playing);
    emscripten::function("heapInUse", &heapInUse);
}
