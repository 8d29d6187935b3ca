#pragma once
#include "tools/torva-render/RenderOptions.h"

// Runs the render `options` describe. Throws BadInput for input that cannot
// be rendered and RenderFailure when an output cannot be written; in both
// cases no output file is left behind.
void Render(const RenderOptions& options);
