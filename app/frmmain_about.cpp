#include "frmmain.h"

// Help > About.

void frmMain::mnuAbout_Click() {}
