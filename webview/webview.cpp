#include "webview.h"

void WebView::Zoom(int)
{
    throw WebViewError(tr("This view cannot zoom."));
}
