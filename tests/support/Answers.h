#pragma once

// The right answer to the problem on a game's screen, read from its labels as a child reads
// them, so that tests and the monkey can play to the end.

#include "balance/frmwaage.h"
#include "balloon/Masses.h"
#include "balloon/frmBallon.h"
#include "clock/frmUhr.h"
#include "flying/frmWander.h"
#include "glass/frmbruchteile.h"
#include "mountain/Lengths.h"
#include "mountain/frmBerg.h"
#include "spider/frmNetz.h"
#include "start/Zifferix.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace testing_support {

inline std::string glassAnswer(const zifferix::frmbruchteile& glass) {
    const double z = forms::Val(glass.lblZähler.Caption);
    const double n = forms::Val(glass.lblNenner.Caption);
    const double x = forms::Val(glass.lblZahl.Caption);
    return n == 0 ? "1" : forms::CStr(z * x / n);
}

inline std::string flyingAnswer(const zifferix::frmWander& fly) {
    return forms::CStr(forms::Val(fly.lblZahl1.Caption) + forms::Val(fly.lblZahl2.Caption) +
                       forms::Val(fly.lblZahl3.Caption));
}

inline std::string clockAnswer(const zifferix::frmUhr& clock) {
    return forms::CStr(forms::Val(clock.lblZahl1.Caption) * forms::Val(clock.lblZahl2.Caption));
}

inline std::string spiderAnswer(const zifferix::frmNetz& spider) {
    return forms::CStr(forms::Val(spider.lbla.Caption) * forms::Val(spider.lblb.Caption));
}

// The missing number of a + b = c + ?, read from the pans.
inline std::string balanceAnswer(const zifferix::frmwaage& balance) {
    const std::string& left = balance.lblLinks.Caption;
    const std::size_t plus = left.find('+');
    const double a = forms::Val(left.substr(0, plus));
    const double b = plus == std::string::npos ? 0 : forms::Val(left.substr(plus + 1));
    return forms::CStr(a + b - forms::Val(balance.lblRechts.Caption));
}

// A number with the German comma, as it stands in a label.
inline double readComma(std::string number) {
    std::replace(number.begin(), number.end(), ',', '.');
    return forms::Val(number);
}

inline std::string mountainAnswer(const zifferix::frmBerg& mountain) {
    const auto exponent = [](const std::string& unit) {
        for (const auto& u : zifferix::kLengthUnits) {
            if (u.text == unit) {
                return u.power;
            }
        }
        return 0;
    };
    return forms::CStr(
        readComma(mountain.lblzahl.Caption) *
        std::pow(10.0, exponent(mountain.lblbez1.Caption) - exponent(mountain.lblbez2.Caption)));
}

inline int massPower(const std::string& unit) {
    for (const auto& u : zifferix::kMassUnits) {
        if (u.text == unit) {
            return u.power;
        }
    }
    return 0;
}

inline double balloonExpected(const zifferix::frmBallon& balloon) {
    return readComma(balloon.lblzahl.Caption) *
           std::pow(10.0, massPower(balloon.lblbez1.Caption) - massPower(balloon.lblbez2.Caption));
}

inline std::string balloonAnswer(const zifferix::frmBallon& balloon) {
    return forms::CStr(balloonExpected(balloon));
}

// Each game's screen and how its answer is read from it.
template <class Screen, std::string (*answer)(const Screen&)>
std::string readAnswer(forms::Form& form) {
    return answer(static_cast<const Screen&>(form));
}
struct GameAnswer {
    zifferix::Game game;
    std::string (*read)(forms::Form&);
};
inline constexpr GameAnswer kGameAnswers[] = {
    {zifferix::Game::Uhr, readAnswer<zifferix::frmUhr, clockAnswer>},
    {zifferix::Game::Berg, readAnswer<zifferix::frmBerg, mountainAnswer>},
    {zifferix::Game::Bruchteile, readAnswer<zifferix::frmbruchteile, glassAnswer>},
    {zifferix::Game::Netz, readAnswer<zifferix::frmNetz, spiderAnswer>},
    {zifferix::Game::Waage, readAnswer<zifferix::frmwaage, balanceAnswer>},
    {zifferix::Game::Ballon, readAnswer<zifferix::frmBallon, balloonAnswer>},
    {zifferix::Game::Wander, readAnswer<zifferix::frmWander, flyingAnswer>},
};

// The right answer to the game in front, or nothing where no game is.
inline std::optional<std::string> answerFor(zifferix::Zifferix& program, forms::Form& form) {
    for (const auto& [game, read] : kGameAnswers) {
        if (&program.screen(game) == &form) {
            return read(form);
        }
    }
    return std::nullopt;
}

// Which game the form is, if it is one.
inline std::optional<zifferix::Game> gameOf(zifferix::Zifferix& program, const forms::Form* form) {
    for (const auto& [game, read] : kGameAnswers) {
        if (&program.screen(game) == form) {
            return game;
        }
    }
    return std::nullopt;
}

} // namespace testing_support
