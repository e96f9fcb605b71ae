// Win32: the settings dialog, "Zanvo Settings": the connection state of each data feed, and the
// property sheet that changes the connection and the display time zone.
#pragma once

class ApplicationSettings;
class DataSupplier;
class DdeServer;

// Opens the settings dialog, modal, with the active window as owner. The dialog object is made on
// the first call and kept; while its window is open a further call brings it to the front.
// A confirmed change is saved to Zanvo.ini and applied through the DDE server.
void OpenSettingsDialog(DdeServer& ddeServer, ApplicationSettings& settings,
                        DataSupplier& supplier);
