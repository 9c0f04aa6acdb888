// The Gl seam forwarded to OpenGL 1.1 on whatever context is current. Knows
// nothing of windows: the buffer swap belongs to the window that owns the
// context: SwapBuffers only tells that window the frame is done (frameDone),
// and the window swaps once the frame step has returned.
#pragma once

#include <functional>
#include <utility>

#include "render/gl.h"

namespace kragmoor {

class OpenGlGl final : public Gl {
 public:
  // `frameDone` runs as the last call of every frame (SwapBuffers): the
  // window that owns the context marks the frame due and shows it later.
  explicit OpenGlGl(std::function<void()> frameDone) : frameDone_(std::move(frameDone)) {}

  void Begin(GlEnum mode) override;
  void End() override;
  void Vertex3f(float x, float y, float z) override;
  void Color3f(float r, float g, float b) override;
  void PointSize(float size) override;
  void Clear(uint32_t mask) override;
  void ClearColor(float r, float g, float b, float a) override;
  void ClearDepth(double depth) override;
  void DepthFunc(GlEnum func) override;
  void Enable(GlEnum cap) override;
  void Disable(GlEnum cap) override;
  void Hint(GlEnum target, GlEnum mode) override;
  void ShadeModel(GlEnum mode) override;
  void MatrixMode(GlEnum mode) override;
  void LoadIdentity() override;
  void Ortho(double left, double right, double bottom, double top, double zNear,
             double zFar) override;
  void Translatef(float x, float y, float z) override;
  void Viewport(int32_t x, int32_t y, int32_t width, int32_t height) override;
  void PushAttrib(uint32_t mask) override;
  void PopAttrib() override;
  void SwapBuffers() override;

 private:
  std::function<void()> frameDone_;  // the window's: a frame ended, show it
};

}  // namespace kragmoor
