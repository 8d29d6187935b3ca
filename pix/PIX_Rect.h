#pragma once

// A rectangle of a bitmap; right and bottom are exclusive.
struct PIX_Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
