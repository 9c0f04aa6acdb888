// The recording Gl backend behind the headless runner's trace.
#include "render/recording_gl.h"

#include <initializer_list>

#include "world/float_text.h"

namespace kragmoor {

namespace {

std::string Call(const char* name, std::initializer_list<std::string> args) {
  std::string line = name;
  for (const std::string& a : args) {
    line += ' ';
    line += a;
  }
  return line;
}

std::string F(float v) { return FormatFloat(v); }
std::string D(double v) { return FormatDouble(v); }
std::string E(GlEnum v) { return GlEnumName(v); }

}  // namespace

const char* GlEnumName(GlEnum value) {
  switch (value) {
    case GlEnum::kPoints:
      return "GL_POINTS";
    case GlEnum::kLines:
      return "GL_LINES";
    case GlEnum::kLineLoop:
      return "GL_LINE_LOOP";
    case GlEnum::kTriangles:
      return "GL_TRIANGLES";
    case GlEnum::kLess:
      return "GL_LESS";
    case GlEnum::kPerspectiveCorrectionHint:
      return "GL_PERSPECTIVE_CORRECTION_HINT";
    case GlEnum::kDepthTest:
      return "GL_DEPTH_TEST";
    case GlEnum::kTexture2D:
      return "GL_TEXTURE_2D";
    case GlEnum::kNicest:
      return "GL_NICEST";
    case GlEnum::kModelView:
      return "GL_MODELVIEW";
    case GlEnum::kProjection:
      return "GL_PROJECTION";
    case GlEnum::kSmooth:
      return "GL_SMOOTH";
  }
  return "GL_UNKNOWN";
}

void RecordingGl::Begin(GlEnum mode) { lines_.push_back(Call("glBegin", {E(mode)})); }
void RecordingGl::End() { lines_.push_back("glEnd"); }
void RecordingGl::Vertex3f(float x, float y, float z) {
  lines_.push_back(Call("glVertex3f", {F(x), F(y), F(z)}));
}
void RecordingGl::Color3f(float r, float g, float b) {
  lines_.push_back(Call("glColor3f", {F(r), F(g), F(b)}));
}
void RecordingGl::PointSize(float size) { lines_.push_back(Call("glPointSize", {F(size)})); }
void RecordingGl::Clear(uint32_t mask) {
  std::string bits;
  if (mask & kColorBufferBit) bits = "GL_COLOR_BUFFER_BIT";
  if (mask & kDepthBufferBit) bits += bits.empty() ? "GL_DEPTH_BUFFER_BIT" : "|GL_DEPTH_BUFFER_BIT";
  lines_.push_back(Call("glClear", {bits}));
}
void RecordingGl::ClearColor(float r, float g, float b, float a) {
  lines_.push_back(Call("glClearColor", {F(r), F(g), F(b), F(a)}));
}
void RecordingGl::ClearDepth(double depth) { lines_.push_back(Call("glClearDepth", {D(depth)})); }
void RecordingGl::DepthFunc(GlEnum func) { lines_.push_back(Call("glDepthFunc", {E(func)})); }
void RecordingGl::Enable(GlEnum cap) { lines_.push_back(Call("glEnable", {E(cap)})); }
void RecordingGl::Disable(GlEnum cap) { lines_.push_back(Call("glDisable", {E(cap)})); }
void RecordingGl::Hint(GlEnum target, GlEnum mode) {
  lines_.push_back(Call("glHint", {E(target), E(mode)}));
}
void RecordingGl::ShadeModel(GlEnum mode) { lines_.push_back(Call("glShadeModel", {E(mode)})); }
void RecordingGl::MatrixMode(GlEnum mode) { lines_.push_back(Call("glMatrixMode", {E(mode)})); }
void RecordingGl::LoadIdentity() { lines_.push_back("glLoadIdentity"); }
void RecordingGl::Ortho(double left, double right, double bottom, double top, double zNear,
                        double zFar) {
  lines_.push_back(Call("glOrtho", {D(left), D(right), D(bottom), D(top), D(zNear), D(zFar)}));
}
void RecordingGl::Translatef(float x, float y, float z) {
  lines_.push_back(Call("glTranslatef", {F(x), F(y), F(z)}));
}
void RecordingGl::Viewport(int32_t x, int32_t y, int32_t width, int32_t height) {
  lines_.push_back(Call("glViewport", {std::to_string(x), std::to_string(y), std::to_string(width),
                                       std::to_string(height)}));
}
void RecordingGl::PushAttrib(uint32_t mask) {
  lines_.push_back(Call("glPushAttrib", {mask == kCurrentBit ? std::string("GL_CURRENT_BIT")
                                                             : std::to_string(mask)}));
}
void RecordingGl::PopAttrib() { lines_.push_back("glPopAttrib"); }
void RecordingGl::SwapBuffers() { lines_.push_back("SwapBuffers"); }

}  // namespace kragmoor
