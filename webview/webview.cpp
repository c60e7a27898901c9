#include "webview.h"
