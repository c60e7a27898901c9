#pragma once

#include "config.h"

// The program's identity: title and version, the same wherever shown.
namespace identity {
inline constexpr char Title[] = "Velmora";
inline constexpr char Version[] = VELMORA_VERSION_TEXT;
inline constexpr char HomePage[] = VELMORA_CONFIGURED_HOME_URL;
}
