// The exit codes of zanvo-dde; docs/zanvo-dde.md lists them for users.
#pragma once

enum ExitCode : int {
    ecOk = 0,
    ecDdeFailure = 1,        // DDEML could not be initialised, or a transaction failed otherwise
    ecUsage = 2,             // bad command line
    ecNoServer = 3,          // no server accepted the service and topic
    ecItemRefused = 4,       // the request returned no data
    ecAdviseRefused = 5,     // the server refused the advise loop
    ecPokeRefused = 6,       // the server did not acknowledge the poke
    ecTimeout = 7,           // no answer within the timeout
    ecConversationEnded = 8, // the server ended the conversation while watching
};
