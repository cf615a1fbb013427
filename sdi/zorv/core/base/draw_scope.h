// Names the drawing context the model draws on for one scope, and puts back the
// one named before when the scope ends, however it ends. Scopes nest, so a box or
// dialog that appears while a handler draws can never leave pDC null or dangling.
//     { DrawScope scope(&buffer); ...model drawing... }
#pragma once
#include "sdi/draw/draw_context.h"

namespace zorv {

class DrawScope {
public:
  explicit DrawScope(sdi::draw_context* dc) : m_previous(sdi::pDC) { sdi::pDC = dc; }
  ~DrawScope() { sdi::pDC = m_previous; }
  DrawScope(const DrawScope&) = delete;
  DrawScope& operator=(const DrawScope&) = delete;

private:
  sdi::draw_context* m_previous;
};

}  // namespace zorv
