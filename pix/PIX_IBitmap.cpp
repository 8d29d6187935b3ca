#include "pix/PIX_IBitmap.h"

PIX_IBitmap::~PIX_IBitmap() = default;

bool PIX_IBitmap::IsBottomUp() const { return false; }

void* PIX_IBitmap::DeviceContext() const { return nullptr; }

int PIX_IBitmap::ExtensionQuery(int, void*) { return 0; }
