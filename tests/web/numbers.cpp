// The browser's C library writes and reads every number of the shared table as the desktop's
// does. Built with emscripten and run by Node.js, beside the browser tests.

#include "NumberTexts.h"

#include <cstdio>

int main() {
    int wrong = 0;
    for (const testing_support::NumberText& t : testing_support::numberTexts()) {
        const std::string written = testing_support::cstrOf(t);
        if (written != t.cstr) {
            std::printf("FAIL: %.17g is written %s, not %s\n", t.value, written.c_str(), t.cstr);
            ++wrong;
        }
    }
    for (const testing_support::TypedNumber& t : testing_support::typedNumbers()) {
        const std::optional<float> read = forms::CSng(t.text);
        if (!read || *read != t.value) {
            std::printf("FAIL: %s is read as %.9g, not %.9g\n", t.text, read ? *read : 0.0f,
                        t.value);
            ++wrong;
        }
    }
    std::printf("%s\n", wrong == 0 ? "PASS" : "FAIL");
    return wrong == 0 ? 0 : 1;
}
