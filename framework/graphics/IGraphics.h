#pragma once

// The editor as the plug-in core sees it. The editor framework derives its
// drawing surface, controls and window from this; the core only pushes
// parameter values into it and asks it to prepare its drawing surfaces.
class IGraphics {
 public:
  virtual ~IGraphics() = default;

  // Host or editor thread, with the plug-in's processing lock held. Stores the
  // value in every control bound to the parameter and marks them dirty;
  // `normalized` false means `value` is a plain value of the parameter.
  virtual void SetControlFromPlugin(int paramIndex, double value, bool normalized) = 0;

  // Constructor thread, from AttachEditor, with the processing lock held.
  virtual void PrepareDrawSurface() = 0;
};
