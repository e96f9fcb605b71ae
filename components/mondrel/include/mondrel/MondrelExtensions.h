// Entries of the data-manager library beyond its published interface: options for tests and
// demonstrations, and the event pump of the native (non-Windows) build.
#pragma once

#include "mondrel/Mondrel.h"

// Further integer option ids of SetIntOption / GetIntOption.
enum MondrelExtraOption : int {
    moConnectDelay = 1001, // milliseconds from ConnectFeeds to the first feed's outcome (400)
    moSeed = 1002,         // seed of the simulated market's prices (1)
};

#if !defined(_WIN32)
// Delivers every callback that is due, on the calling thread (which must be the one that created
// the instance). The Windows build delivers them from the creating thread's message loop instead.
MONDREL_API void MondrelPump(Mondrel* instance);
#endif
