// settings_host.h: vetrix-check acts as the module's host for the profile: the settings
// given on the command line are what "Profile/GetInt" answers, so the engine, which
// re-reads its settings at the start of every run, sees them. Nothing is stored.
#pragma once

#include <cstdint>

// Installs the command-line host with the correction switches it answers.
void InstallSettingsHost(bool pressureCorrection, bool temperatureCorrection);
