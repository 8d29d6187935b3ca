#include "pix/PIX_ImageReader.h"

namespace {
// Constant-initialised, so registrations from other files' static
// initialisers find it ready whatever their order.
ImageReaderEntry* gHead = nullptr;
}  // namespace

ImageReaderEntry* PIX_ImageReaders() { return gHead; }

void PIX_RegisterImageReader(ImageReaderEntry* entry) {
  entry->next = gHead;
  gHead = entry;
}
