// Resource ids of Zanvo.exe, shared by the resource script and the Win32 code. Ids of different
// resource types and of controls in different dialogs may coincide.
#pragma once

// Tray icons, indexed in the program by the composite connection state.
#define IDI_TRAY_DEFAULT 201
#define IDI_TRAY_CONNECTING 202
#define IDI_TRAY_CONNECTED 203
#define IDI_TRAY_DISCONNECTED 206

// Feed-state icons of the settings dialog's rows.
#define IDI_STATE_DISCONNECTED 208
#define IDI_STATE_RETRYING 209
#define IDI_STATE_CONNECTED 210

#define IDB_LOGO 213

// Tray menu commands.
#define ID_APP_EXIT 32770
#define ID_APP_SETTINGS 32771
#define ID_APP_ABOUT 32772
#define ID_APP_HELP 32773

// Settings dialog.
#define IDD_SETTINGS 102
#define IDC_DATAMANAGER_ICON 201
#define IDC_DATAMANAGER_TEXT 202
#define IDC_HISTORY_ICON 203
#define IDC_INTLTICK_ICON 204
#define IDC_DOMTICK_ICON 205
#define IDC_HISTORY_TEXT 206
#define IDC_INTLTICK_TEXT 207
#define IDC_DOMTICK_TEXT 208
#define IDC_APP_SETTINGS 210

// Connection property page.
#define IDD_CONNECTION 106
#define IDC_USERNAME 210
#define IDC_PASSWORD 211
#define IDC_QUOTE 212
#define IDC_HISTORY 215
#define IDC_DOMTICK 216
#define IDC_INTLTICK 217

// Date/Time property page.
#define IDD_DATETIME 206
#define IDC_TZ_LOCAL 218
#define IDC_TZ_GMT 219
#define IDC_TZ_EXCHANGE 220

// About dialog.
#define IDD_ABOUT 105
#define IDC_VERSION 213
#define IDC_WARNING 214
