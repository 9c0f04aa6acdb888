// The seam between the drawing code and OpenGL: every GL 1.1 call the game
// makes, the buffer swap and the millisecond tick, as an interface. The real
// backend forwards to OpenGL; the recording backend writes a trace. Nothing
// here includes GL headers.
#pragma once

#include <cstdint>

namespace kragmoor {

// GL enumerants the game uses, with OpenGL's own values.
enum class GlEnum : uint32_t {
  kPoints = 0x0000,
  kLines = 0x0001,
  kLineLoop = 0x0002,
  kTriangles = 0x0004,
  kLess = 0x0201,
  kPerspectiveCorrectionHint = 0x0C50,
  kDepthTest = 0x0B71,
  kTexture2D = 0x0DE1,
  kNicest = 0x1102,
  kModelView = 0x1700,
  kProjection = 0x1701,
  kSmooth = 0x1D01,
};

// glClear mask bits.
inline constexpr uint32_t kDepthBufferBit = 0x00000100;
inline constexpr uint32_t kColorBufferBit = 0x00004000;
// glPushAttrib mask bit: the current colour (and the rest of GL's current
// values).
inline constexpr uint32_t kCurrentBit = 0x00000001;

// One method per GL call, named after it; SwapBuffers shows the back buffer.
class Gl {
 public:
  virtual ~Gl() = default;
  virtual void Begin(GlEnum mode) = 0;
  virtual void End() = 0;
  virtual void Vertex3f(float x, float y, float z) = 0;
  virtual void Color3f(float r, float g, float b) = 0;
  virtual void PointSize(float size) = 0;
  virtual void Clear(uint32_t mask) = 0;
  virtual void ClearColor(float r, float g, float b, float a) = 0;
  virtual void ClearDepth(double depth) = 0;
  virtual void DepthFunc(GlEnum func) = 0;
  virtual void Enable(GlEnum cap) = 0;
  virtual void Disable(GlEnum cap) = 0;
  virtual void Hint(GlEnum target, GlEnum mode) = 0;
  virtual void ShadeModel(GlEnum mode) = 0;
  virtual void MatrixMode(GlEnum mode) = 0;
  virtual void LoadIdentity() = 0;
  virtual void Ortho(double left, double right, double bottom, double top, double zNear,
                     double zFar) = 0;
  virtual void Translatef(float x, float y, float z) = 0;
  virtual void Viewport(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
  virtual void PushAttrib(uint32_t mask) = 0;
  virtual void PopAttrib() = 0;
  virtual void SwapBuffers() = 0;
};

// The millisecond tick count that animates the peasants. The window reads the
// clock; the headless runner holds a value it is told.
class TickSource {
 public:
  virtual ~TickSource() = default;
  virtual uint32_t GetTickCount() = 0;
};

}  // namespace kragmoor
