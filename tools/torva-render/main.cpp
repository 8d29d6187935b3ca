// torva-render: runs audio files (or an embedded demo) through the TORVA
// cabinet without a host.
#include <iostream>
#include <new>

#include "tools/torva-render/Render.h"
#include "tools/torva-render/RenderError.h"
#include "tools/torva-render/RenderOptions.h"

int main(int argc, char** argv) {
  RenderOptions options;
  const int early = ParseRenderOptions(argc, argv, &options);
  if (early >= 0) return early;
  try {
    Render(options);
    return 0;
  } catch (const BadInput& e) {
    std::cerr << "torva-render: " << e.what() << "\n";
    return 2;
  } catch (const RenderFailure& e) {
    std::cerr << "torva-render: " << e.what() << "\n";
    return 1;
  } catch (const std::bad_alloc&) {
    std::cerr << "torva-render: out of memory\n";
    return 1;
  }
}
