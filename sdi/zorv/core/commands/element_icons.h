// Element toolbar artwork drawn from the model itself: the element's own symbol
// image, made by its factory, drawn in blue through the model's raster onto a 16
// by 15 button. Standard two-terminal symbols (13 by 51) are laid down and show
// their body only, the leads cut off, so the symbol stays readable at that size.
//     std::vector<std::uint32_t> px = ElementIcon(sdi::kind_resistor);  // COLORREFs, white background
#pragma once
#include <cstdint>
#include <vector>

namespace zorv {

// The kind of element a toolbar command places; -1 for other commands.
int ElementKindOfCommand(int id);

// 16 x 15 COLORREF pixels, row-major, white where nothing is drawn; empty when the
// kind has no symbol image (wires, couplings).
std::vector<std::uint32_t> ElementIcon(int kind);

}  // namespace zorv
