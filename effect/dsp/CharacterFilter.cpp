#include "effect/dsp/CharacterFilter.h"

// One instantiation for every user of the section.
template struct FilterSection<CharacterTerms>;
