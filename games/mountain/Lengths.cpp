#include "mountain/Lengths.h"

namespace zifferix {
namespace {

enum : int { Mm = 1, Cm, Dm, M, Km };

// Leicht: neighbours only; whole millimetres, kilometres in thousandths at most.
constexpr NumberCase kLeicht[] = {
    {.when = {.from = Mm}, .rule = {.places = {0, 0}, .mantissa = {1, 100}}},
    {.when = {.from = M, .to = Km},
     .rule = {.places = {0, 2}, .mantissa = {1, 10000}, .within = Bounds{0.9999, 10000}}},
    {.when = {.from = Km},
     .rule = {.places = {0, 3}, .mantissa = {1, 100}, .within = Bounds{0.0999, 1000}}},
    {.when = {.down = true},
     .rule = {.places = {0, 3}, .mantissa = {1, 100}, .within = Bounds{0.0999, 100}}},
    {.when = {}, .rule = {.places = {0, 0}, .mantissa = {1, 100}, .within = Bounds{0.0999, 100}}},
};

// Normal: one or two steps apart, a kilometre only ever in metres.
constexpr NumberCase kNormal[] = {
    {.when = {.from = Mm}, .rule = {.places = {0, 0}, .mantissa = {1, 1000}}},
    {.when = {.from = M, .to = Km},
     .rule = {.places = {0, 2}, .mantissa = {1, 10000}, .within = Bounds{0.0999, 10000}}},
    {.when = {.from = Km},
     .rule = {.places = {0, 3}, .mantissa = {1, 100}, .within = Bounds{0.0999, 1000}}},
    {.when = {.down = true},
     .rule = {.places = {0, 4}, .mantissa = {1, 1000}, .within = Bounds{0.0999, 100}}},
    {.when = {}, .rule = {.places = {0, 2}, .mantissa = {1, 1000}, .within = Bounds{0.0999, 100}}},
};

// Voll schwer: any two units. Down from km two or three places, from m two to four, from dm two
// to five, from cm two to six.
constexpr NumberCase kVollSchwer[] = {
    {.when = {.from = Km, .down = true}, .rule = {.places = {2, 2}, .mantissa = {0, 1000}}},
    {.when = {.from = M, .down = true}, .rule = {.places = {2, 3}, .mantissa = {0, 1000}}},
    {.when = {.from = Dm, .down = true}, .rule = {.places = {2, 4}, .mantissa = {0, 1000}}},
    {.when = {.down = true}, .rule = {.places = {2, 5}, .mantissa = {0, 1000}}},
    {.when = {}, .rule = {.places = {0, 3}, .mantissa = {0, 1000}}},
};

} // namespace

const Conversions kLengths{
    .units = kLengthUnits,
    .levels = {{
        {.pair = {.apart = Apart::Neighbours}, .numbers = kLeicht},
        {.pair = {.apart = Apart::OneOrTwo, .partners = {{{.from = Km, .to = {M}}}}},
         .numbers = kNormal},
        {.pair = {.apart = Apart::Any}, .numbers = kVollSchwer},
    }},
};

} // namespace zifferix
