#pragma once

#include "pix/PIX_IBitmap.h"

// One image file reader in the process-wide list of readers. Each reader's
// entry is a static record pushed onto the head of the list while the module
// initialises, before any editor exists, and never removed.
struct ImageReaderEntry {
  // Opens `path` (UTF-8), optionally checking its extension first, into
  // `bitmap` when given or a new bitmap the caller owns; null on failure.
  PIX_IBitmap* (*open)(const char* path, bool checkExtension, PIX_IBitmap* bitmap);
  // The file-dialog filter: description, NUL, pattern, NUL.
  const char* (*filterText)();
  ImageReaderEntry* next;
};

// Head of the list (the last reader registered), or null.
ImageReaderEntry* PIX_ImageReaders();

// Module initialisation only: links `entry` in at the head.
void PIX_RegisterImageReader(ImageReaderEntry* entry);
