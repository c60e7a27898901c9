#include "bookmarkfile.h"
