// settings_host.h: vetrix-check acts as the module's host for the profile: the settings
// given on the command line are what "Profile/GetInt" answers, so the engine, which
// re-reads its settings at the start of every run, sees them. Nothing is stored.
#pragma once

#include <cstdint>
#include <string>

// Installs the command-line host with the settings it answers: the correction switches,
// the program rounding and the export folder.
void InstallSettingsHost(bool pressureCorrection, bool temperatureCorrection, std::int32_t digits,
                         const std::string& exportFolder);
