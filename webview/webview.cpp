#include "webview.h"

void WebView::Zoom(int)
{
    throw WebViewError("This view cannot zoom.");
}
