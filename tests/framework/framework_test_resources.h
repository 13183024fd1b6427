// Resource ids of the dialog-layer tests.
#pragma once

#define IDD_EXCHANGE 200
#define IDC_NAME 1001
#define IDC_DELETE 1002
#define IDC_LABEL 1003
#define IDC_MISSING 1999
