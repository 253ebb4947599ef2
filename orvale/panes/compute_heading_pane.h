#pragma once
// Pitch and roll of a platform turned into its tilt and the heading of the tilt, shown
// in the property grid and drawn as a bubble level above it.

#include <vector>

#include "orvale/engine/survey/field_headings.h"
#include "orvale/panes/dockable_pane.h"

namespace orvale {

class CComputeHeadingPane;

// What the bubble view draws, in client pixels, for any host to render: a filled
// rectangle, a circle (outline and fill) or a line.
struct DrawCommand {
  enum class Shape { kRectangle, kCircle, kLine };
  Shape shape = Shape::kRectangle;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // corners, ends, or centre (x1, y1) and radius x2
  COLORREF pen = 0;
  COLORREF fill = 0;
};

// A bubble level spanning 5 degrees of tilt: five rings, a cross through the centre,
// and the bubble off-centre by the tilt (modulo 5 degrees) towards the heading.
class CSimpleBubbleView : public CWnd {
 public:
  void Attach(CComputeHeadingPane* pane, const double* tilt, const double* heading);
  // Night or day colours; the view is drawn again.
  void SetNightMode(bool night);
  bool GetNightMode() const { return night_; }
  // The drawing for a client area of `width` by `height` pixels.
  std::vector<DrawCommand> OnDraw(int width, int height) const;
  void Invalidate() { ++invalidations_; }
  int InvalidateCount() const { return invalidations_; }

 private:
  CComputeHeadingPane* pane_ = nullptr;
  const double* tilt_ = nullptr;     // degrees
  const double* heading_ = nullptr;  // degrees
  bool night_ = false;
  int red_ = 255;
  COLORREF background_ = 0x555555;
  COLORREF bubble_ = 0xFFFF00;
  COLORREF rings_ = 0x039AC0;
  COLORREF outline_ = 0xFFFFFF;
  int invalidations_ = 0;
};

// A rectangle of the pane's client area.
struct PaneRect {
  int left = 0, top = 0, width = 0, height = 0;
};

class CComputeHeadingPane : public CMyDockablePane {
 public:
  static constexpr int kPitchId = 1;
  static constexpr int kRollId = 2;

  // Pitch and roll from the "Compute Heading" settings file.
  CComputeHeadingPane();

  // Caption "Compute Heading"; groups "Observations" and "Tilt"; the bubble view.
  [[nodiscard]] bool Create(CWnd* parent, int id);
  LRESULT OnPropertyChanged(WPARAM wParam, CMFCPropertyGridProperty* property) override;
  void Compute();

  // Lays the client area out: the bubble view takes the square at the top, the grid
  // the rest below it.
  void Layout(int width, int height);
  const PaneRect& BubbleRect() const { return bubble_rect_; }
  const PaneRect& GridRect() const { return grid_rect_; }

  // The grid's colours and the bubble view's together.
  void SetNightMode(bool night) override;

  const HeadingState& Heading() const { return heading_; }
  const CSimpleBubbleView& Bubble() const { return bubble_; }

 private:
  void InitPropList();

  HeadingState heading_;
  CSimpleBubbleView bubble_;
  PaneRect bubble_rect_, grid_rect_;
};

}  // namespace orvale
