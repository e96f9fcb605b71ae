// The six connection texts of the settings (user name, password and the four server addresses):
// handing them between the settings record and the supplier's connection settings, and what
// counts as a change of them.
#pragma once

#include "ApplicationSettings.h"
#include "ConnectionSettings.h"

// Everything the supplier connects with, from the settings record.
ConnectionSettings ToConnectionSettings(const ApplicationSettings& settings);

// Copies the six connection texts into the settings record; nothing else changes.
void SetConnectionTexts(ApplicationSettings& settings, const ConnectionSettings& texts);

// Compares the six connection texts. User name and password count exactly; server addresses are
// compared without regard to letter case, since host names do not depend on it.
bool ConnectionTextsDiffer(const ConnectionSettings& before, const ConnectionSettings& after);
