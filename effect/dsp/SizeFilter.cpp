#include "effect/dsp/SizeFilter.h"

// One instantiation for every user of the section.
template struct FilterSection<SizeTerms>;
