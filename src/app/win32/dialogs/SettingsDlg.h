// Win32: the settings dialog, "Zanvo Settings": the connection state of each data feed, and the
// property sheet that changes the connection and the display time zone.
#pragma once

#include <functional>

class ApplicationSettings;
class DataSupplier;

// Makes every served item anew after a confirmed change, reconnecting the supplier in between
// when the connection changed.
using Resubscribe = std::function<void(bool reconnect)>;

// Opens the settings dialog, modal, with the active window as owner. The dialog object is made on
// the first call and kept; while its window is open a further call brings it to the front.
// A confirmed change is saved to Zanvo.ini and applied through resubscribe.
void OpenSettingsDialog(Resubscribe resubscribe, ApplicationSettings& settings,
                        DataSupplier& supplier);
