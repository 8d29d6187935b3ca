#pragma once
#include <vector>

// A few seconds of synthesized guitar DI at kDemoSampleRate, mono: strummed
// power chords and a single-note riff from plucked strings, through a soft
// clipper as a hot pickup would drive an input. Deterministic.
constexpr int kDemoSampleRate = 48000;
std::vector<double> SynthesizeDemoGuitar();
