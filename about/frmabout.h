#pragma once

// The About window and the system-information launcher.
