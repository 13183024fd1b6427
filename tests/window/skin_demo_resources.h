// Ids of the skin test dialog.
#pragma once

#define IDD_SKIN_DEMO 500
#define IDC_SMALL_BUTTON 1001
#define IDC_SMALL_CORNER 1011
#define IDC_MAIL_LINK 1021
#define IDC_WEB_LINK 1022
#define IDC_CLICKS 1031
#define IDC_OPENED 1032
