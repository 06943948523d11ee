#include "balloon/Masses.h"

namespace zifferix {
namespace {

enum : int { G = 1, Dag, Kg, T };

// Leicht: neighbours only (t and kg, kg and dag, dag and g); grams whole, to 100.
constexpr NumberCase kLeicht[] = {
    {.when = {.from = G}, .rule = {.places = {0, 0}, .mantissa = {1, 100}}},
    {.when = {.from = Kg, .to = T},
     .rule = {.places = {0, 2}, .mantissa = {1, 10000}, .within = Bounds{0.9999, 10000}}},
    {.when = {.from = T},
     .rule = {.places = {0, 3}, .mantissa = {1, 100}, .within = Bounds{0.0999, 100}}},
    {.when = {.down = true},
     .rule = {.places = {0, 3}, .mantissa = {1, 100}, .within = Bounds{0.0999, 100}}},
    {.when = {}, .rule = {.places = {0, 0}, .mantissa = {1, 100}, .within = Bounds{0.0999, 100}}},
};

// Normal: one or two steps apart; tonnes only ever in kilograms, dekagrams in grams or
// kilograms; grams whole, to 1000.
constexpr NumberCase kNormal[] = {
    {.when = {.from = G}, .rule = {.places = {0, 0}, .mantissa = {1, 1000}}},
    {.when = {.from = Kg, .to = T},
     .rule = {.places = {0, 2}, .mantissa = {1, 10000}, .within = Bounds{0.0999, 10000}}},
    {.when = {.from = T},
     .rule = {.places = {0, 3}, .mantissa = {1, 100}, .within = Bounds{0.0999, 100}}},
    {.when = {.down = true},
     .rule = {.places = {0, 4}, .mantissa = {1, 1000}, .within = Bounds{0.00999, 100}}},
    {.when = {}, .rule = {.places = {0, 2}, .mantissa = {1, 1000}, .within = Bounds{0.00999, 100}}},
};

// Voll schwer: any two units. Down from t two or three places, from kg two to four, from dag
// two to five.
constexpr NumberCase kVollSchwer[] = {
    {.when = {.from = T, .down = true}, .rule = {.places = {2, 2}, .mantissa = {0, 1000}}},
    {.when = {.from = Kg, .down = true}, .rule = {.places = {2, 3}, .mantissa = {0, 1000}}},
    {.when = {.down = true}, .rule = {.places = {2, 4}, .mantissa = {0, 1000}}},
    {.when = {}, .rule = {.places = {0, 3}, .mantissa = {0, 1000}}},
};

} // namespace

const Conversions kMasses{
    .units = kMassUnits,
    .levels = {{
        {.pair = {.apart = Apart::Neighbours}, .numbers = kLeicht},
        {.pair = {.apart = Apart::OneOrTwo,
                  .partners = {{{.from = T, .to = {Kg}},
                                {.from = Dag, .to = {G, Kg}, .count = 2}}}},
         .numbers = kNormal},
        {.pair = {.apart = Apart::Any}, .numbers = kVollSchwer},
    }},
};

} // namespace zifferix
