#include "sdi/zorv/core/commands/element_icons.h"

#include <algorithm>
#include <memory>

#include "sdi/elements/element.h"
#include "sdi/elements/factories.h"
#include "sdi/draw/frame_buffer.h"
#include "sdi/elements/i_element.h"
#include "sdi/elements/image.h"
#include "sdi/elements/placement.h"
#include "sdi/zorv/core/commands/command_ids.h"
#include "sdi/zorv/core/base/draw_scope.h"
#include "sdi/zorv/core/commands/tool_glyphs.h"

namespace zorv {

int ElementKindOfCommand(int id) {
  switch (id) {
    case cmd::R: return sdi::kind_resistor;
    case cmd::C: return sdi::kind_capacitor;
    case cmd::L: return sdi::kind_inductor;
    case cmd::XformerPrimary: return sdi::kind_primary;
    case cmd::XformerSecondary: return sdi::kind_secondary;
    case cmd::M: return sdi::kind_mutual;
    case cmd::Wire: return sdi::kind_wire;
    case cmd::VPort: return sdi::kind_voltage_port;
    case cmd::IPort: return sdi::kind_current_port;
    case cmd::ICIS: return sdi::kind_icis;
    case cmd::ICVS: return sdi::kind_icvs;
    case cmd::VCIS: return sdi::kind_vcis;
    case cmd::VCVS: return sdi::kind_vcvs;
    case cmd::Modulator: return sdi::kind_modulator;
    case cmd::Clock: return sdi::kind_clock;
    case cmd::UpperLimiter: return sdi::kind_upper_limiter;
    case cmd::LowerLimiter: return sdi::kind_lower_limiter;
    case cmd::Threshold: return sdi::kind_threshold;
    case cmd::VCO: return sdi::kind_vco;
    case cmd::ISense: return sdi::kind_current_sense;
    case cmd::OpAmp: return sdi::kind_op_amp;
    case cmd::Ground: return sdi::kind_ground;
    case cmd::Diode: return sdi::kind_diode;
    case cmd::Switch: return sdi::kind_switch;
    case cmd::Label: return sdi::kind_label;
    case cmd::VDC: return sdi::kind_voltage_source;
    case cmd::IDC: return sdi::kind_current_source;
    case cmd::VAC: return sdi::kind_sine;
    case cmd::Multiplier: return sdi::kind_multiplier;
    default: return -1;
  }
}

std::vector<std::uint32_t> ElementIcon(int kind) {
  if (kind < 0 || sdi::is_line_element(kind)) return {};
  // Made by the factory without disturbing whatever is being placed.
  sdi::element* const pending = sdi::pending_element;
  sdi::element* const previous = sdi::previous_pending_element;
  sdi::create_element(kind);
  std::unique_ptr<sdi::element> made(sdi::pending_element);
  sdi::pending_element = pending;
  sdi::previous_pending_element = previous;
  auto* symbol = dynamic_cast<sdi::i_element*>(made.get());
  if (!symbol || !symbol->image) return {};
  // A standard symbol lies down to fill the button, its body only.
  const bool standard = symbol->image->w == 13 && symbol->image->h == 51;
  if (standard) symbol->rotate();
  const sdi::image& im = *symbol->image;
  sdi::rect part(im.x, im.y, im.w, im.h);
  if (standard && im.w == 51 && im.h == 13) part = sdi::rect(im.x + 12, im.y, 27, 13);
  const double scale = std::min(static_cast<double>(kToolWidth - 1) / part.w,
                                static_cast<double>(kToolHeight - 1) / part.h);
  const int vw = std::max(1, static_cast<int>(part.w * scale));
  const int vh = std::max(1, static_cast<int>(part.h * scale));
  sdi::frame_buffer fb(kToolWidth, kToolHeight);
  fb.set_window_org(part.x, part.y);
  fb.set_window_ext(part.w, part.h);
  fb.set_viewport_ext(vw, vh);
  fb.set_viewport_org((kToolWidth - vw) / 2, (kToolHeight - vh) / 2);
  {
    DrawScope scope(&fb);
    im.draw(sdi::rect(0, 0, im.w, im.h));
  }
  return std::vector<std::uint32_t>(fb.data(), fb.data() + kToolWidth * kToolHeight);
}

}  // namespace zorv
