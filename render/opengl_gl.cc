// OpenGL 1.1 immediate mode behind the Gl seam. GlEnum holds OpenGL's own
// values, so every enumerant passes through unchanged.
#include "render/opengl_gl.h"

#include <GL/gl.h>

namespace kragmoor {

namespace {

GLenum ToGl(GlEnum value) { return static_cast<GLenum>(value); }

}  // namespace

void OpenGlGl::Begin(GlEnum mode) { glBegin(ToGl(mode)); }
void OpenGlGl::End() { glEnd(); }
void OpenGlGl::Vertex3f(float x, float y, float z) { glVertex3f(x, y, z); }
void OpenGlGl::Color3f(float r, float g, float b) { glColor3f(r, g, b); }
void OpenGlGl::PointSize(float size) { glPointSize(size); }
void OpenGlGl::Clear(uint32_t mask) { glClear(mask); }
void OpenGlGl::ClearColor(float r, float g, float b, float a) { glClearColor(r, g, b, a); }
void OpenGlGl::ClearDepth(double depth) { glClearDepth(depth); }
void OpenGlGl::DepthFunc(GlEnum func) { glDepthFunc(ToGl(func)); }
void OpenGlGl::Enable(GlEnum cap) { glEnable(ToGl(cap)); }
void OpenGlGl::Disable(GlEnum cap) { glDisable(ToGl(cap)); }
void OpenGlGl::Hint(GlEnum target, GlEnum mode) { glHint(ToGl(target), ToGl(mode)); }
void OpenGlGl::ShadeModel(GlEnum mode) { glShadeModel(ToGl(mode)); }
void OpenGlGl::MatrixMode(GlEnum mode) { glMatrixMode(ToGl(mode)); }
void OpenGlGl::LoadIdentity() { glLoadIdentity(); }

void OpenGlGl::Ortho(double left, double right, double bottom, double top, double zNear,
                     double zFar) {
  glOrtho(left, right, bottom, top, zNear, zFar);
}

void OpenGlGl::Translatef(float x, float y, float z) { glTranslatef(x, y, z); }

void OpenGlGl::Viewport(int32_t x, int32_t y, int32_t width, int32_t height) {
  glViewport(x, y, width, height);
}

void OpenGlGl::PushAttrib(uint32_t mask) { glPushAttrib(mask); }
void OpenGlGl::PopAttrib() { glPopAttrib(); }

void OpenGlGl::SwapBuffers() {
  if (frameDone_) frameDone_();
}

}  // namespace kragmoor
