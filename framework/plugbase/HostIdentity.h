#pragma once
#include <cstdint>

// Host codes: -1 not identified yet, 0 identified but unknown, else the code
// of the first product-name substring that matched.
enum : int32_t { kHostNotIdentified = -1, kHostUnknown = 0 };

// Recognises the host from its product name (case-insensitive substring
// table, first match wins). Names are cut to 255 characters first.
int32_t IdentifyHost(const char* productName);
