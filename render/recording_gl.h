// A Gl backend that records every call as one line of text: the call's GL
// name and its arguments, floats in shortest form, enumerants by name.
#pragma once

#include <string>
#include <vector>

#include "render/gl.h"

namespace kragmoor {

class RecordingGl final : public Gl {
 public:
  // Every call so far, one line each, e.g. "glVertex3f -5 -5 0".
  const std::vector<std::string>& lines() const { return lines_; }
  void clear() { lines_.clear(); }

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
  std::vector<std::string> lines_;
};

// The GL name of an enumerant, e.g. "GL_LINE_LOOP".
const char* GlEnumName(GlEnum value);

}  // namespace kragmoor
