// Win32: the COM class "Zanvo.RTD", a spreadsheet's real-time data server. Each object serves one
// client's cells from the program's data supplier; the program tells every object of a
// reconnection and of its end.
#pragma once

#include <windows.h>

#include <objbase.h>

class DataListeners;
class DataSupplier;

// The class id of the real-time data class.
const CLSID& RtdClassId();
// A new class factory (one reference), for the module's class table.
IUnknown* CreateRtdClassFactory();

// Objects are made only between these two calls. Stop tells every client (Disconnect), ends its
// cells and cuts the objects off from their clients.
void StartRtdService(DataSupplier* supplier, DataListeners* listeners);
void StopRtdService();

// Around the supplier's reconnection or a settings change: every cell's subscription stops, then
// starts again and its value is worked out anew.
void StopRtdSubscriptions();
void StartRtdSubscriptions();
