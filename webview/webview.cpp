#include "webview.h"

void WebView::ExecWB(int cmdId, int execOpt)
{
    if (cmdId == PrintCmd && execOpt == PromptUser)
        Exec(PageCommand::Print);
    else if (cmdId == PrintPreviewCmd && execOpt == DoDefault)
        Exec(PageCommand::PrintPreview);
    else if (cmdId == PageSetupCmd && execOpt == DoDefault)
        Exec(PageCommand::PageSetup);
    else
        throw WebViewError(tr("Command %1 with option %2 is not supported.").arg(cmdId).arg(execOpt));
}
