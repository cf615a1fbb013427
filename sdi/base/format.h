// Engineering notation for value texts: a sign character (' ' or '-'), the
// magnitude scaled by powers of 1000 with a fixed number of decimals, a blank
// and the prefix ("a", "f", "p", "n", "u", "m", "", "k", "M", "G", "T").
//     FormatEngineering(1234.5, 3) == " 1.23 k"
//     FormatEngineering(-0.00047, 3) == "-470 u"
#pragma once

#include <string>

namespace sdi {

std::string FormatEngineering(double value, int digits);

}  // namespace sdi
