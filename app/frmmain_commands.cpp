#include "frmmain.h"

// Navigation, print and progress handlers.

void frmMain::cmdBack_Click() {}
void frmMain::cmdForward_Click() {}
void frmMain::cmdStop_Click() {}
void frmMain::cmdRefresh_Click() {}
void frmMain::cmdHome_Click() {}
void frmMain::cmdPrint_Click() {}
void frmMain::Image1_Click() {}
void frmMain::Image1_DblClick() {}
void frmMain::mnuPGSetup_Click() {}
void frmMain::mnuPrintPreview_Click() {}
void frmMain::mnuPrint_Click() {}
void frmMain::Web_ProgressChange(int, int, int) {}
void frmMain::Web_NavigateComplete2(int, const QString &) {}
