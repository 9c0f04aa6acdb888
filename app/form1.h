// The main window: lays out the controls, owns the play field's GL context,
// runs the frame timer and the information-list timer, and forwards the
// mouse to the core's click functions. Holds no game rules.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "render/gl.h"
#include "render/opengl_gl.h"
#include "sim/frame_step.h"
#include "world/tigrok.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QOpenGLContext;
class QTimer;

namespace kragmoor {

class TPlayField;
class TRadioGroup;

// The tick count of the peasants' animation: milliseconds of a steady clock,
// wrapping at 2^32 like a system tick counter.
class MillisecondClock final : public TickSource {
 public:
  uint32_t GetTickCount() override;
};

// The window and title-strip caption: the game's name in double quotation
// marks, then the author credit.
extern const char* const kFormCaption;

class TForm1 final : public QWidget {
 public:
  // FormCreate: lays out the controls, makes the play field's GL context
  // current for good, sets the fixed GL state, seeds the random generator from
  // the UTC time of day and writes the initial scenario. The timers start
  // with the window.
  TForm1();
  // FormDestroy: releases the GL context.
  ~TForm1() override;

  // Timer1, every 10 ms: one frame step.
  void TimerDraw();
  // Timer2, every 100 ms: the information list from the world.
  void ShowInfo();

  // What the next frame step reads besides the world: the check boxes, the
  // play field's size and the clock.
  FrameInputs Inputs();

  World& world() { return world_; }
  const World& world() const { return world_; }
  TPlayField* playField() const { return playField_; }
  // False when no GL context could be made: frames then run without drawing.
  bool hasGl() const { return gl_ != nullptr; }
  QOpenGLContext* context() const { return context_; }
  // Frame steps run so far, by the timer and by resizes.
  int64_t frameSteps() const { return frameSteps_; }
  // The open error box, or null.
  QMessageBox* errorBox() const { return errorBox_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Panel1 along the top, Panel2 along the left below it, the play field in
  // the rest of the client area.
  void LayOut();
  void CreateGLContext();
  // The play field reports its size: when it changed, viewport and projection
  // follow and one frame step draws the new size.
  void FormResize();
  void RunFrameStep();
  void ShowError(const QString& message);
  void SwapPlayField();
  void Panel3Cursor(QPointF position);
  void Panel3Click();

  World world_;
  MillisecondClock ticks_;

  QLabel* panel1_ = nullptr;
  QWidget* panel2_ = nullptr;
  QListWidget* listBox1_ = nullptr;
  TRadioGroup* radioGroup1_ = nullptr;
  TRadioGroup* radioGroup2_ = nullptr;
  std::array<QCheckBox*, kSideCount> checkBoxes_{};
  TPlayField* playField_ = nullptr;  // owned by panel3_
  QWidget* panel3_ = nullptr;        // the container that embeds playField_
  QTimer* timer1_ = nullptr;
  QTimer* timer2_ = nullptr;

  QOpenGLContext* context_ = nullptr;
  std::unique_ptr<OpenGlGl> gl_;  // null without a usable context
  QSize projectedSize_;           // play-field size of the last FormResize
  qreal projectedRatio_ = 0;      // its device pixel ratio
  QPointer<QMessageBox> errorBox_;
  int64_t frameSteps_ = 0;
};

}  // namespace kragmoor
