#include "effect/dsp/MicFilter.h"

// One instantiation for every user of the section.
template struct FilterSection<MicTerms>;
