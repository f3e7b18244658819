// Resource and control identifiers, shared by app.rc and the C++ code.
// Plain #defines only: the resource compiler and the stand-in's .rc
// reader both read this file, and neither understands C++.
#ifndef CFG_WIN_RESOURCE_H
#define CFG_WIN_RESOURCE_H

// Resources
#define IDD_MAIN 100
#define IDI_APP 101

// Static labels
#define IDC_ST_SERVER 40000
#define IDC_ST_USER 40003
#define IDC_ST_PORT 40004
#define IDC_ST_PASSWORD 40006
#define IDC_ST_VERSION 40007
#define IDC_ST_URL1_ENABLE 40016
#define IDC_ST_TYPE 40018

// Edits
#define IDC_ED_PORT 40005
#define IDC_ED_SAVEPATH 40009
#define IDC_ED_USER 40017
#define IDC_ED_SERVER 40019
#define IDC_ED_PASSWORD 40020
#define IDC_ED_FTPDIR 40022
#define IDC_ED_URL1 40024

// Combo boxes
#define IDC_CB_TYPE 40001
#define IDC_CB_DIRMODE 40023

// Push buttons
#define IDC_BT_GENERATE 40010
#define IDC_BT_BROWSE 40011

// Check boxes
#define IDC_CK_URL1 40015

// Group boxes. IDC_GB_URL1 is also carried by the hidden "URL 1" static that
// follows the group box in the template; a lookup by id finds the group box.
#define IDC_GB_SAVEPATH 40008
#define IDC_GB_URL1 40012
#define IDC_GB_FTPSET 40013
#define IDC_GB_FTPDIR 40021

#endif
