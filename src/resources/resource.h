// Every resource id of the library: dialogs, controls, strings, bitmaps, icons.
#pragma once

// Dialog templates
#define IDD_COLOR 111
#define IDD_JOB_OPTIONS 113
// Of the extension resource library
#define IDD_EXTENSION_PAGE 800
#define IDI_EXTENSION_PAGE 1102

// Strings
#define IDS_RENDER_LIBRARY 30000
