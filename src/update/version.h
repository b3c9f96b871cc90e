#pragma once

#include <string_view>

namespace zedade {

// Versions closer than this are the same version.
inline constexpr double kVersionTolerance = 1e-7;

// Reads a version (or any number) from GBK text as the announcement writes it: full-width forms
// become ASCII first (A3A1..A3FE to 0x21..0x7E, A1A1 to a space, A1AB to "~", A1EE and A1EF to
// "*"), leading white space is skipped, and the longest decimal prefix (sign, digits, point,
// exponent) is the value; "1.2.5" reads as 1.2. No such prefix gives 0. No hexadecimal, infinity
// or NaN forms; independent of the C locale.
double TextToNumber(std::string_view text);

enum class VersionOrder { Older, Same, Newer };

// Where the announced `latest` stands against the running `current`: Same when they differ by at
// most kVersionTolerance, Newer when latest exceeds current by more, Older otherwise.
VersionOrder CompareVersions(double latest, double current);
VersionOrder CompareVersions(std::string_view latest, std::string_view current);

}  // namespace zedade
