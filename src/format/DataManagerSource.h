// Where the market-time code finds the running data manager: the application shell names the
// source (its supplier's GetDataManager), tests name their fake.
#pragma once

class Mondrel;

// The data-manager instance of the running supplier; nullptr when none runs or it is
// disconnected.
Mondrel* CurrentDataManager();

void SetDataManagerSource(Mondrel* (*source)());
